#pragma once

#include <QString>

namespace orvx::framework {

// Connection codes of the status bar's first pane.
enum ConnectionState { ConnectionOnline = 0, ConnectionOffline = 1, ConnectionGoingOnline = 2,
                       ConnectionGoingOffline = 3, ConnectionAborted = 4 };
// Data-set codes of the fourth pane.
enum DataSetState { DataSetDefault = 0, DataSetValidModified = 1, DataSetInvalidModified = 2,
                    DataSetAllDataLoaded = 3 };

// The status bar along the bottom edge.
class IStatusArea {
public:
    virtual ~IStatusArea() = default;
    virtual void SetMessage(const QString& text) = 0;
    virtual void SetConnectionState(int code) = 0;
    virtual void SetDataSetState(int code) = 0;
    virtual void SetDataSource(int code) = 0;
    virtual void SetDeviceStatus(int code) = 0;
    virtual void SetCommunicating(bool communicating) = 0;
};

// The connection code for a state word of the state document: "Online", "GoingOnline",
// "GoingOffline" and "Aborted"; any other word is offline.
int connectionStateOf(const QString& word);
// The data-set code for a word: "validModified", "invalidModified", "allDataLoaded"; any other is default.
int dataSetStateOf(const QString& word);

}  // namespace orvx::framework

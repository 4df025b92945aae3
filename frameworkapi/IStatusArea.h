#pragma once

#include <QString>

namespace orvx::framework {

// Connection codes of the status bar's first pane.
enum ConnectionState {
    ConnectionOnline = 0,
    ConnectionOffline = 1,
    ConnectionGoingOnline = 2,
    ConnectionGoingOffline = 3,
    ConnectionAborted = 4
};
// Data-set codes of the fourth pane.
enum DataSetState {
    DataSetDefault = 0,
    DataSetValidModified = 1,
    DataSetInvalidModified = 2,
    DataSetAllDataLoaded = 3
};

// The status bar along the bottom edge.
class IStatusArea {
public:
    virtual ~IStatusArea() = default;
    // The message pane's text (the last pane), replacing the one shown; empty clears it.
    virtual void SetMessage(const QString& text) = 0;
    // A ConnectionState as the first pane's icon and text; an unknown code empties the pane.
    virtual void SetConnectionState(int code) = 0;
    // A DataSetState as the fourth pane's icon and tool tip; an unknown code empties the pane.
    virtual void SetDataSetState(int code) = 0;
    // The data source (1 data set, 2 data set locked, 3 device, 4 device locked) as the third
    // pane's icon and text; another code empties the pane.
    virtual void SetDataSource(int code) = 0;
    // The device status, 1 failure to 5 OK (the texts 13 to 17), as the seventh pane's icon and
    // tool tip; another code empties the pane.
    virtual void SetDeviceStatus(int code) = 0;
    // Shows or removes the second pane's "communication in progress" icon and tool tip.
    virtual void SetCommunicating(bool communicating) = 0;
    // A warning that stays at the right of the bar, whatever messages come and go, until it is
    // replaced or cleared with an empty text.
    virtual void SetStandingWarning(const QString& text) = 0;
};

// The connection code for a state word of the state document: "Online", "GoingOnline",
// "GoingOffline" and "Aborted"; any other word is offline.
int connectionStateOf(const QString& word);
// The data-set code for a word: "validModified", "invalidModified", "allDataLoaded"; any other is default.
int dataSetStateOf(const QString& word);

}  // namespace orvx::framework

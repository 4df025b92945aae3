#pragma once

#include "DiagRecord.h"

#include <QString>

class QWidget;

namespace orvx::framework {
class IUIController;
}

namespace orvx::diagnostics {

class CDiagGraph;

// Fills a graph window with the signature the device keeps: the last PST (both strokes and the
// record values) or the last ESD event (the exhaust stroke). When there is nothing to show, or a
// read fails, tells the user why (in a message box when private dialogs are enabled, on the
// status line otherwise) and answers false.
bool loadDeviceCurves(framework::IUIController& controller, DiagKind kind, CDiagGraph& graph, QWidget* owner);

// Loads the device's curves of that kind into a new graph window and shows it over 'owner'.
void showDeviceCurves(framework::IUIController& controller, DiagKind kind, QWidget* owner);

// Shows a record read from a data file in a new graph window over 'owner'; its History... reads
// the device's tests from 'file' (none: the user chooses one), and Use as baseline remembers
// 'file' and 'key'.
void showFileRecord(const DiagRecord& record, QWidget* owner, const QString& file = {}, const RecordKey& key = {});

// Lets the user pick a record of a data file and shows it in a graph window over 'owner'; says
// why when the record cannot be read. Nothing happens when the user cancels.
void showRecordFromFile(QWidget* owner);

}  // namespace orvx::diagnostics

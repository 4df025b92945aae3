#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orvx::frame {

// On the online control's Diagnostics page: runs a PST on the simulated positioner and pictures
// the summary and the graph of its signature, saves the signature into a data file in 'folder',
// and pictures the record picker and the graph of the record read back. Answers how many
// pictures were written; problems go to 'errors'.
int writeDiagnosticShots(QWidget* control, const QString& folder, QStringList* errors);

// Answers a file dialog with 'path', typed in as a user would.
void chooseFile(QWidget* fileDialog, const QString& path);

}  // namespace orvx::frame

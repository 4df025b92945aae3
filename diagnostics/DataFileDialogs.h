#pragma once

#include "NvEsdDataFileSvr.h"
#include "platform/ui/DialogService.h"

#include <optional>

class QWidget;

namespace orvx::diagnostics {

class CXFileException;

inline constexpr QLatin1String kDataFileCaption{"Orvx ESD DTM"};
inline constexpr QLatin1String kEmptyFileText{"The selected file is empty."};

// The data file chooser: the save dialog offers the default name for kind and tag and, as
// saving adds the record to the file chosen, never asks whether to replace one that exists;
// its accept button says "Add". Both start in dataFileFolder(). Owned by owner, else by the
// active window. A null text when the user cancels.
QString chooseDataFile(ui::FileMode mode, DiagKind kind, const QString& tag, QWidget* owner);

// Where the data file dialogs start: the folder of the data file this process last saved into
// or opened while that folder is still there, else the user's home folder. It is kept in this
// process's memory only, never stored: each start of the program begins at home. (The module's
// own folder is a system folder once installed, where saving would fail.)
QString dataFileFolder();

// Lets the user choose a file and appends the record to it, stamped with the current time. A
// new or empty file gets its version line; a file of another kind or version stays as it was.
// Answers true when the record was saved. Every failure is shown in a message box (the
// caption kDataFileCaption, the error icon); a cancelled choice shows nothing. Never throws.
// The file's folder becomes dataFileFolder() once the record is saved.
bool saveRecordToFile(const DiagRecord& record, QWidget* owner);

// Opens path for loading and checks that it holds data of this version. An empty file, a file
// of another version or one that cannot be opened is refused with a message box, and nothing
// is answered. Never throws; the answered server's ListRecords and ReadRecord do throw
// CXFileException when reading fails (show it with fileErrorText). The file's folder becomes
// dataFileFolder() once the file proved to hold data of this version.
std::optional<CNvEsdDataFileSvr> openForReading(const QString& path, QWidget* owner);

// A message box with the data file's caption and the error icon.
void showDataFileError(QWidget* owner, const QString& text);
// The file and the system's message for the error, e.g. "/data/a.dgn\nPermission denied".
QString fileErrorText(const CXFileException& error);

}  // namespace orvx::diagnostics

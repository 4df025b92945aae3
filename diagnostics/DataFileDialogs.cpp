#include "DataFileDialogs.h"

#include "Windows1252.h"
#include "XFileException.h"
#include "platform/ui/Clock.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace orvx::diagnostics {

namespace {

// Empty until a data file was saved into or opened.
QString g_lastFolder;

void rememberFolderOf(const QString& path)
{
    g_lastFolder = QFileInfo(path).absolutePath();
}

}  // namespace

QString dataFileFolder()
{
    // A folder removed since, or on a medium taken away, is no place to start.
    return !g_lastFolder.isEmpty() && QFileInfo(g_lastFolder).isDir() ? g_lastFolder : QDir::homePath();
}

QString chooseDataFile(ui::FileMode mode, DiagKind kind, const QString& tag, QWidget* owner)
{
    ui::FileRequest request;
    request.owner = owner ? owner : QApplication::activeWindow();
    request.filter = CNvEsdDataFileSvr::FileFilter();
    request.folder = dataFileFolder();
    request.mode = mode;
    if (mode == ui::FileMode::Save) {
        request.suggestedName = CNvEsdDataFileSvr::DefaultFileName(kind, tag, ui::currentDateTime());
        request.confirmReplace = false;
        request.acceptLabel = QStringLiteral("Add");
        request.fileNameLabel = QStringLiteral("Add the record to:");
    }
    return ui::dialogService().ChooseFile(request);
}

bool saveRecordToFile(const DiagRecord& record, QWidget* owner)
{
    // Said before a file is chosen, so that no new empty file is left behind.
    if (toWindows1252(record.tag).isEmpty()) {
        showDataFileError(owner, kEmptyTagText);
        return false;
    }
    try {
        const QString path = chooseDataFile(ui::FileMode::Save, record.kind, record.tag, owner);
        if (path.isNull())
            return false;
        CNvEsdDataFileSvr server;
        // WriteRecord puts the version line into an empty file in the same write as the record.
        if (!server.OpenFile(path, OpenPurpose::Save) && !server.CheckVersion()) {
            showDataFileError(owner, kIncompatibleFileText);
            return false;
        }
        const SaveOutcome outcome = server.WriteRecord(record, ui::currentDateTime());
        if (!outcome) {
            showDataFileError(owner, outcome.message);
            return false;
        }
        server.Close();
        rememberFolderOf(path);
        return true;
    } catch (const CXFileException& error) {
        showDataFileError(owner, fileErrorText(error));
    } catch (const std::exception& error) {
        showDataFileError(owner, QString::fromLocal8Bit(error.what()));
    }
    return false;
}

std::optional<CNvEsdDataFileSvr> openForReading(const QString& path, QWidget* owner)
{
    try {
        CNvEsdDataFileSvr server;
        if (server.OpenFile(path, OpenPurpose::Load)) {
            showDataFileError(owner, kEmptyFileText);
            return std::nullopt;
        }
        if (!server.CheckVersion()) {
            showDataFileError(owner, kIncompatibleFileText);
            return std::nullopt;
        }
        rememberFolderOf(path);
        return server;
    } catch (const CXFileException& error) {
        showDataFileError(owner, fileErrorText(error));
    } catch (const std::exception& error) {
        showDataFileError(owner, QString::fromLocal8Bit(error.what()));
    }
    return std::nullopt;
}

void showDataFileError(QWidget* owner, const QString& text)
{
    ui::showMessage(owner, kDataFileCaption, text, ui::MessageButtons::Ok, ui::MessageIcon::Error);
}

QString fileErrorText(const CXFileException& error)
{
    return QDir::toNativeSeparators(error.Path()) + QLatin1Char('\n') + error.SystemMessage();
}

}  // namespace orvx::diagnostics

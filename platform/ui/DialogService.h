#pragma once

#include <QString>

class QDialog;
class QFileDialog;
class QWidget;

namespace orvx::ui {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Information, Question, Warning, Error };
enum class DialogAnswer { Ok, Cancel, Yes, No };
enum class FileMode { Open, Save };

struct MessageRequest {
    QWidget* owner = nullptr;
    QString caption;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

struct FileRequest {
    QWidget* owner = nullptr;
    QString caption;
    QString filter;  // "Orvx ESD Data Files (*.dgn);;All Files (*)"
    QString folder;  // where the dialog starts; empty: the current folder
    QString suggestedName;
    FileMode mode = FileMode::Open;
    // Save only: whether choosing a file that exists asks before replacing it. A caller that
    // adds to the chosen file instead turns it off, so that the question does not mislead.
    bool confirmReplace = true;
    // The texts of the accept button and the file name's label; empty: the dialog's own.
    QString acceptLabel;
    QString fileNameLabel;
};

// Everything that waits for the user: message boxes, modal dialogs, file choosers. The program
// uses Qt's dialogs; tests install a scripted service that records and answers each request.
class IDialogService {
public:
    virtual ~IDialogService() = default;
    virtual DialogAnswer ShowMessage(const MessageRequest& request) = 0;
    // QDialog::Accepted or QDialog::Rejected (or the dialog's own result code).
    virtual int RunModal(QDialog& dialog) = 0;
    // The chosen file, or a null text when the user cancelled.
    virtual QString ChooseFile(const FileRequest& request) = 0;
};

// Sets up Qt's file dialog as the request asks: mode, start folder and name, filter, options
// and labels. The program's service runs the dialog it prepared this way.
void prepareFileDialog(QFileDialog& dialog, const FileRequest& request);

IDialogService& dialogService();
// Replaces the service; null restores Qt's. Returns the previous one.
IDialogService* setDialogService(IDialogService* service);

// Shorthand for the common box: caption, text, OK only.
DialogAnswer showMessage(QWidget* owner, const QString& caption, const QString& text,
                         MessageButtons buttons = MessageButtons::Ok, MessageIcon icon = MessageIcon::None);

}  // namespace orvx::ui

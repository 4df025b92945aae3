#pragma once

#include <QString>

class QDialog;
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

IDialogService& dialogService();
// Replaces the service; null restores Qt's. Returns the previous one.
IDialogService* setDialogService(IDialogService* service);

// Shorthand for the common box: caption, text, OK only.
DialogAnswer showMessage(QWidget* owner, const QString& caption, const QString& text,
                         MessageButtons buttons = MessageButtons::Ok, MessageIcon icon = MessageIcon::None);

}  // namespace orvx::ui

#include "DialogService.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include <utility>

namespace orvx::ui {

namespace {

class QtDialogService : public IDialogService {
public:
    DialogAnswer ShowMessage(const MessageRequest& request) override
    {
        QMessageBox box(iconOf(request.icon), request.caption, request.text, buttonsOf(request.buttons), request.owner);
        // Plain text: device texts never carry markup and must be shown as they stand.
        box.setTextFormat(Qt::PlainText);
        switch (box.exec()) {
        case QMessageBox::Ok: return DialogAnswer::Ok;
        case QMessageBox::Yes: return DialogAnswer::Yes;
        case QMessageBox::No: return DialogAnswer::No;
        default: return request.buttons == MessageButtons::YesNo ? DialogAnswer::No : DialogAnswer::Cancel;
        }
    }

    int RunModal(QDialog& dialog) override { return dialog.exec(); }

    QString ChooseFile(const FileRequest& request) override
    {
        const QString start = request.folder.isEmpty() ? request.suggestedName
                                                       : QDir(request.folder).filePath(request.suggestedName);
        const QString chosen = request.mode == FileMode::Open
                                   ? QFileDialog::getOpenFileName(request.owner, request.caption, start, request.filter)
                                   : QFileDialog::getSaveFileName(request.owner, request.caption, start,
                                                                  request.filter);
        return chosen.isEmpty() ? QString() : chosen;
    }

private:
    static QMessageBox::Icon iconOf(MessageIcon icon)
    {
        switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::None: break;
        }
        return QMessageBox::NoIcon;
    }
    static QMessageBox::StandardButtons buttonsOf(MessageButtons buttons)
    {
        switch (buttons) {
        case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::Ok: break;
        }
        return QMessageBox::Ok;
    }
};

QtDialogService g_qt;
IDialogService* g_service = &g_qt;

}  // namespace

IDialogService& dialogService()
{
    return *g_service;
}

IDialogService* setDialogService(IDialogService* service)
{
    return std::exchange(g_service, service ? service : &g_qt);
}

DialogAnswer showMessage(QWidget* owner, const QString& caption, const QString& text, MessageButtons buttons,
                         MessageIcon icon)
{
    return dialogService().ShowMessage(MessageRequest{owner, caption, text, buttons, icon});
}

}  // namespace orvx::ui

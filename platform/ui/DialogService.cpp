#include "DialogService.h"

#include <QDialog>
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
        QFileDialog dialog(request.owner);
        prepareFileDialog(dialog, request);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString chosen = dialog.selectedFiles().constFirst();
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

void prepareFileDialog(QFileDialog& dialog, const FileRequest& request)
{
    const bool save = request.mode == FileMode::Save;
    // Without a caption the dialog keeps the title Qt gives its mode ("Open", "Save As").
    if (!request.caption.isEmpty())
        dialog.setWindowTitle(request.caption);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, save && !request.confirmReplace);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!request.suggestedName.isEmpty())
        dialog.selectFile(request.suggestedName);
    if (!request.acceptLabel.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
    if (!request.fileNameLabel.isEmpty())
        dialog.setLabelText(QFileDialog::FileName, request.fileNameLabel);
}

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

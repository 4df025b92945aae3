#pragma once

#include "platform/ui/DialogService.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <stdexcept>

namespace orvx::test {

// Answers every dialog from a script and records what was asked. Installed for its lifetime.
// An unscripted message box answers OK, or No for a Yes/No question; an unscripted modal
// dialog is rejected and an unscripted file choice cancelled.
class ScriptedDialogService : public ui::IDialogService {
public:
    ScriptedDialogService() { m_previous = ui::setDialogService(this); }
    ~ScriptedDialogService() override { ui::setDialogService(m_previous); }

    std::deque<ui::DialogAnswer> messageAnswers;
    std::deque<int> modalResults;
    // When set, works each modal dialog as a user would and answers its result, before the
    // scripted results are consulted.
    std::function<int(QDialog&)> onModal;
    std::deque<QString> fileAnswers;
    // When set, a file choice fails as a dialog that cannot open would: it throws.
    bool failFileChoice = false;

    QList<ui::MessageRequest> messages;
    QList<QString> modalDialogs;  // each dialog's window title
    QList<ui::FileRequest> fileRequests;

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : messages)
            texts.append(m.text);
        return texts;
    }

    ui::DialogAnswer ShowMessage(const ui::MessageRequest& request) override
    {
        messages.append(request);
        if (messageAnswers.empty())
            return request.buttons == ui::MessageButtons::YesNo ? ui::DialogAnswer::No : ui::DialogAnswer::Ok;
        const auto answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }

    int RunModal(QDialog& dialog) override
    {
        modalDialogs.append(dialog.windowTitle());
        if (onModal)
            return onModal(dialog);
        if (modalResults.empty())
            return QDialog::Rejected;
        const int result = modalResults.front();
        modalResults.pop_front();
        return result;
    }

    QString ChooseFile(const ui::FileRequest& request) override
    {
        fileRequests.append(request);
        if (failFileChoice)
            throw std::runtime_error("the file dialog could not open");
        if (fileAnswers.empty())
            return {};
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

private:
    ui::IDialogService* m_previous = nullptr;
};

}  // namespace orvx::test

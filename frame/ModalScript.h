#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

namespace orvx::frame {

// Windows the scripts name: by title, or a file dialog by its class name.
inline const QString kGraphWindow = QStringLiteral("Orvx ESD  - Diagnostic Graph");
inline const QString kPickerWindow = QStringLiteral("Select data");
inline const QString kFileDialog = QStringLiteral("QFileDialog");

// Works the modal windows a control opens, one step per window in the order they are expected,
// as a user would: the screenshots show the system's dialogs this way. A step acts on the active
// modal window whose title (or, for file dialogs, class name) it names; anything else that turns
// up modal, a message box no step expects say, is reported and closed.
class ModalScript {
public:
    struct Step {
        QString window;  // window title, or "QFileDialog"
        std::function<void(QWidget*)> act;
    };

    explicit ModalScript(std::vector<Step> steps) : m_steps(std::move(steps)) {}

    // Runs 'start' and then the steps; answers whether every step ran within the time given.
    // Problems go to 'errors'.
    bool Run(const std::function<void()>& start, int timeoutMs, QStringList* errors);

    // Presses a message box's OK once the step has returned.
    static void OkLater(QWidget* messageBox);
    // Clicks a window's button numbered 'item' once the step has returned: a click that opens
    // another modal window runs that window's loop, and the script must keep going meanwhile.
    static void ClickLater(QWidget* window, int item);

private:
    std::vector<Step> m_steps;
};

}  // namespace orvx::frame

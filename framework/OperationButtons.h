#pragma once

#include <QList>
#include <QPointer>

#include <cstdint>
#include <functional>

class QWidget;

namespace orvx::framework {

// A page's operation buttons ("method windows"): the mode button first, then the page's own,
// and the mask of those the page wants enabled (bit i: button i; eight bits). Every enabling of
// a button goes through SetEnabled, which never enables one for a user who may not operate the
// device, nor while a device operation runs, but for the buttons the running page keeps for
// its run (its Cancel): the mask remembers what the page wants, the widgets show what the user
// may do now.
class COperationButtons {
public:
    // What the user and the device allow now.
    struct Permission {
        bool mayOperate = false;        // the user may start device operations
        bool operationRunning = false;  // a device operation runs
        bool ownOperation = false;      // the running operation is this page's
    };

    // 'page' is the window the buttons' enabled state is read against; 'permission' answers
    // what may be enabled now.
    COperationButtons(const QWidget* page, QWidget* modeButton, std::function<Permission()> permission);

    // Appends a button; a null one is ignored.
    void Add(QWidget* window);
    const QList<QPointer<QWidget>>& Windows() const { return m_windows; }

    // Sets the mask from the buttons' current enabled state.
    void Record();
    // Stores the mask and enables exactly the buttons whose bit is set; an unchanged mask does
    // nothing unless forced.
    void Apply(std::uint8_t mask, bool force = false);
    // Applies the stored mask again, forced: the buttons come back as the page last had them.
    void Reapply() { Apply(m_mask, true); }
    // Disables every button, keeping the mask for a later Apply; call Record first. The buttons
    // of 'usableWhileRunning' that the mask holds stay enabled while this page's operation runs.
    void Lock(std::uint8_t usableWhileRunning = 0);
    // Enables the mode button (button 0) when the user may operate the device.
    void EnableModeButton();
    // Enables the mode button alone (when the user may operate) and disables the others; until
    // the next Apply the mask keeps what the page wants and Record leaves it alone.
    void KeepModeButtonOnly();
    // Enables or disables every button, the mask aside.
    void SetAllEnabled(bool enabled);
    // The one place a button's enabled state is set; a null button is ignored.
    void SetEnabled(QWidget* window, bool enabled);
    // Each button's enabled state as shown, in order, for Restore.
    QList<bool> Shown() const;
    // Sets each button as 'shown' had it, as far as it may be enabled now.
    void Restore(const QList<bool>& shown);

    void SetMask(std::uint8_t mask) { m_mask = mask; }
    std::uint8_t Mask() const { return m_mask; }

private:
    // Whether button i may be enabled now.
    bool Allows(qsizetype index) const;

    const QWidget* m_page;
    std::function<Permission()> m_permission;
    QList<QPointer<QWidget>> m_windows;
    std::uint8_t m_mask = 1;
    std::uint8_t m_usableWhileRunning = 0;  // of the last Lock
    bool m_gated = false;                   // KeepModeButtonOnly holds the buttons until the next Apply
};

}  // namespace orvx::framework

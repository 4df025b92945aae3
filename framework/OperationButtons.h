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
// device: the mask remembers what the page wants, the widgets show what the user may do.
class COperationButtons {
public:
    // 'page' is the window the buttons' enabled state is read against; 'mayOperate' answers
    // whether the user may start device operations now.
    COperationButtons(const QWidget* page, QWidget* modeButton, std::function<bool()> mayOperate);

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
    // Disables every button, keeping the mask for a later Apply; call Record first.
    void Lock();
    // Enables the mode button (button 0) when the user may operate the device.
    void EnableModeButton();
    // Enables the mode button alone (when the user may operate) and disables the others; until
    // the next Apply the mask keeps what the page wants and Record leaves it alone.
    void KeepModeButtonOnly();
    // Enables or disables every button, the mask aside.
    void SetAllEnabled(bool enabled);
    // The one place a button's enabled state is set; a null button is ignored.
    void SetEnabled(QWidget* window, bool enabled);
    bool MayOperate() const { return m_mayOperate && m_mayOperate(); }

    void SetMask(std::uint8_t mask) { m_mask = mask; }
    std::uint8_t Mask() const { return m_mask; }

private:
    const QWidget* m_page;
    std::function<bool()> m_mayOperate;
    QList<QPointer<QWidget>> m_windows;
    std::uint8_t m_mask = 1;
    bool m_gated = false;  // KeepModeButtonOnly holds the buttons until the next Apply
};

}  // namespace orvx::framework

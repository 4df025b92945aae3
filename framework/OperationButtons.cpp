#include "OperationButtons.h"

#include <QWidget>

namespace orvx::framework {

namespace {

constexpr int kMaxButtons = 8;  // the enable mask has eight bits

}  // namespace

COperationButtons::COperationButtons(const QWidget* page, QWidget* modeButton, std::function<bool()> mayOperate)
    : m_page(page), m_mayOperate(std::move(mayOperate))
{
    m_windows.append(modeButton);
}

void COperationButtons::Add(QWidget* window)
{
    if (window)
        m_windows.append(window);
}

void COperationButtons::SetEnabled(QWidget* window, bool enabled)
{
    if (window)
        window->setEnabled(enabled && MayOperate());
}

void COperationButtons::SetAllEnabled(bool enabled)
{
    for (const QPointer<QWidget>& window : m_windows)
        SetEnabled(window, enabled);
}

void COperationButtons::EnableModeButton()
{
    SetEnabled(m_windows.value(0), true);
}

void COperationButtons::KeepModeButtonOnly()
{
    m_gated = true;
    for (int i = 0; i < m_windows.size(); ++i)
        SetEnabled(m_windows[i], i == 0);
}

void COperationButtons::Record()
{
    // While the page is gated its widgets show the gate, not the buttons the page wants back.
    if (m_gated)
        return;
    std::uint8_t mask = 0;
    for (int i = 0; i < m_windows.size() && i < kMaxButtons; ++i) {
        if (m_windows[i] && m_windows[i]->isEnabledTo(m_page))
            mask |= std::uint8_t(1u << i);
    }
    m_mask = mask;
}

void COperationButtons::Apply(std::uint8_t mask, bool force)
{
    if (mask == m_mask && !force && !m_gated)
        return;
    m_gated = false;
    m_mask = mask;
    for (int i = 0; i < m_windows.size(); ++i)
        SetEnabled(m_windows[i], i < kMaxButtons && (mask >> i) & 1u);
}

void COperationButtons::Lock()
{
    if (m_mask != 0)
        SetAllEnabled(false);
}

}  // namespace orvx::framework

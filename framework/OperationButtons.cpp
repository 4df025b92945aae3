#include "OperationButtons.h"

#include <QWidget>

namespace orvx::framework {

namespace {

constexpr int kMaxButtons = 8;  // the enable mask has eight bits

}  // namespace

COperationButtons::COperationButtons(const QWidget* page, QWidget* modeButton, std::function<Permission()> permission)
    : m_page(page), m_permission(std::move(permission))
{
    m_windows.append(modeButton);
}

void COperationButtons::Add(QWidget* window)
{
    if (window)
        m_windows.append(window);
}

bool COperationButtons::Allows(qsizetype index) const
{
    if (!m_permission)
        return false;
    const Permission now = m_permission();
    if (!now.mayOperate)
        return false;
    if (!now.operationRunning)
        return true;
    // Whatever enables buttons while an operation runs (a gate lifted, a page shown again, a
    // notification) leaves them locked until the result; the running page keeps its Cancel.
    return now.ownOperation && index >= 0 && index < kMaxButtons && ((m_usableWhileRunning >> index) & 1u);
}

void COperationButtons::SetEnabled(QWidget* window, bool enabled)
{
    if (window)
        window->setEnabled(enabled && Allows(m_windows.indexOf(window)));
}

QList<bool> COperationButtons::Shown() const
{
    QList<bool> shown;
    for (const QPointer<QWidget>& window : m_windows)
        shown.append(window && window->isEnabledTo(m_page));
    return shown;
}

void COperationButtons::Restore(const QList<bool>& shown)
{
    for (qsizetype i = 0; i < m_windows.size() && i < shown.size(); ++i)
        SetEnabled(m_windows[i], shown[i]);
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

void COperationButtons::Lock(std::uint8_t usableWhileRunning)
{
    m_usableWhileRunning = usableWhileRunning;
    if (m_mask == 0)
        return;
    const std::uint8_t kept = m_mask & usableWhileRunning;
    for (int i = 0; i < m_windows.size(); ++i)
        SetEnabled(m_windows[i], i < kMaxButtons && ((kept >> i) & 1u));
}

}  // namespace orvx::framework

#include "OperationStatusLine.h"

#include "platform/ui/Clock.h"

#include <QLabel>

#include <algorithm>
#include <utility>

namespace orvx::views {

COperationStatusLine::COperationStatusLine(QString operation) : m_operation(std::move(operation)) {}

void COperationStatusLine::Attach(QLabel* label)
{
    m_label = label;
    render();
}

void COperationStatusLine::Show(const QString& text)
{
    m_text = text;
    render();
}

void COperationStatusLine::RunStarted()
{
    m_startMs = ui::steadyClock().milliseconds();
    m_elapsedShown = false;
    render();
}

void COperationStatusLine::RunEnded()
{
    m_startMs.reset();
    m_elapsedShown = false;
    render();
}

void COperationStatusLine::Notified()
{
    if (!m_startMs)
        return;
    m_elapsedShown = true;
    render();
}

void COperationStatusLine::render()
{
    if (!m_label)
        return;
    if (!m_startMs || !m_elapsedShown) {
        m_label->setText(m_text);
        return;
    }
    // A clock set back by a test reads as no time at all.
    const std::int64_t seconds = std::max<std::int64_t>(0, ui::steadyClock().milliseconds() - *m_startMs) / 1000;
    const QString elapsed = QStringLiteral("%1 running: %2 s").arg(m_operation).arg(seconds);
    m_label->setText(m_text.isEmpty() ? elapsed : m_text + QLatin1Char('\n') + elapsed);
}

}  // namespace orvx::views

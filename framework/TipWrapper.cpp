#include "TipWrapper.h"

#include <QStringList>

namespace orvx::framework {

CTipWrapper::CTipWrapper(const QFontMetrics& metrics)
    : m_metrics(metrics), m_space(metrics.horizontalAdvance(QLatin1Char(' ')))
{
}

int CTipWrapper::WidthOf(const QString& word)
{
    if (const auto it = m_widths.constFind(word); it != m_widths.cend())
        return *it;
    if (m_widths.size() >= kMaxWords)
        m_widths.clear();
    const int width = m_metrics.horizontalAdvance(word);
    m_widths.insert(word, width);
    return width;
}

QString CTipWrapper::Wrap(const QString& text, int width)
{
    if (width != m_wrappedWidth || m_wrapped.size() >= kMaxTips) {
        m_wrapped.clear();
        m_wrappedWidth = width;
    }
    if (const auto it = m_wrapped.constFind(text); it != m_wrapped.cend())
        return *it;
    QString wrapped = WrapAnew(text, width);
    m_wrapped.insert(text, wrapped);
    return wrapped;
}

QString CTipWrapper::WrapAnew(const QString& text, int width)
{
    // A line is as wide as its words and the spaces between them.
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        int lineWidth = 0;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int wordWidth = WidthOf(word);
            if (!line.isEmpty() && lineWidth + m_space + wordWidth > width) {
                lines.append(line);
                line.clear();
            }
            if (line.isEmpty()) {
                line = word;
                lineWidth = wordWidth;
            } else {
                line += QLatin1Char(' ') + word;
                lineWidth += m_space + wordWidth;
            }
        }
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace orvx::framework

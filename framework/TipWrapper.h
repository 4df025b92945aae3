#pragma once

#include <QFontMetrics>
#include <QHash>
#include <QString>

namespace orvx::framework {

// Breaks tool-tip texts into lines for one font. Each word is measured once and its width kept:
// the pages' tips share most of their words, and shaping a word costs more than the rest of the
// wrapping.
class CTipWrapper {
public:
    // At most this many widths are kept; a page whose tips bring more starts the set afresh,
    // so that tips from outside cannot grow it without end.
    static constexpr qsizetype kMaxWords = 4096;
    static constexpr qsizetype kMaxTips = 1024;

    explicit CTipWrapper(const QFontMetrics& metrics);

    // Breaks the text into lines no wider than 'width' pixels, at spaces where it can; a word
    // wider than that stands on a line of its own. Line breaks of the text are kept; runs of
    // spaces become one. A line's width is that of its words and spaces measured one by one;
    // shaped whole it may come out a pixel or so apart (kerning across a space, rounding).
    // A text wrapped before at the same width is given as it came out then: the pages of every
    // view of a plant set the same tips.
    QString Wrap(const QString& text, int width);

    qsizetype KnownWords() const { return m_widths.size(); }
    qsizetype KnownTips() const { return m_wrapped.size(); }

private:
    int WidthOf(const QString& word);
    QString WrapAnew(const QString& text, int width);

    QFontMetrics m_metrics;
    int m_space = 0;
    QHash<QString, int> m_widths;
    int m_wrappedWidth = -1;  // the width the wrapped tips kept were wrapped at
    QHash<QString, QString> m_wrapped;
};

}  // namespace orvx::framework

#include "framework/TipWrapper.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QStringList>
#include <QToolTip>

using orvx::framework::CTipWrapper;

namespace {

// A line's width as the wrapper promises it: its words and spaces measured one by one. Shaped
// whole, a line may come out a pixel apart per word (kerning across a space, rounding), which no
// rule about the limit could hold to.
int widthOf(const QFontMetrics& metrics, const QString& line)
{
    const QStringList words = line.split(QLatin1Char(' '));
    int width = metrics.horizontalAdvance(QLatin1Char(' ')) * static_cast<int>(words.size() - 1);
    for (const QString& word : words)
        width += metrics.horizontalAdvance(word);
    return width;
}

// The wrapping rule: no line wider than the limit unless it is one word, no word split or lost,
// and no line that the next line's first word would still fit on.
void expectWrapped(const QString& text, const QString& wrapped, const QFontMetrics& metrics, int width)
{
    SCOPED_TRACE(width);
    const QStringList lines = wrapped.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.join(QLatin1Char(' ')), text.simplified());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QLatin1Char(' '))) {
            EXPECT_LE(widthOf(metrics, lines[i]), width) << lines[i].toStdString();
        }
        if (i + 1 < lines.size()) {
            const QString joined = lines[i] + QLatin1Char(' ') + lines[i + 1].section(QLatin1Char(' '), 0, 0);
            EXPECT_GT(widthOf(metrics, joined), width) << lines[i].toStdString();
        }
    }
}

TEST(TipWrapper, KeepsLineBreaksAndFoldsRunsOfSpaces)
{
    CTipWrapper wrapper{QFontMetrics(QToolTip::font())};
    EXPECT_EQ(wrapper.Wrap(QString(), 300), QString());
    EXPECT_EQ(wrapper.Wrap(QStringLiteral("one\ntwo  three"), 300), QStringLiteral("one\ntwo three"));
    EXPECT_EQ(wrapper.Wrap(QStringLiteral("one\n\ntwo"), 300), QStringLiteral("one\n\ntwo"));
}

TEST(TipWrapper, AWordWiderThanTheLimitStandsAlone)
{
    CTipWrapper wrapper{QFontMetrics(QToolTip::font())};
    const QString word(200, QLatin1Char('W'));
    EXPECT_EQ(wrapper.Wrap("a " + word + " b", 300), "a\n" + word + "\nb");
}

TEST(TipWrapper, FillsEveryLineAtEveryWidth)
{
    const QFontMetrics metrics(QToolTip::font());
    const QString text = QStringLiteral("aa bb Valve travel deviation alarm limit in percent of span");
    // One wrapper for every width, from one word per line to all on one: each boundary is crossed
    // once, and a width it kept wrongly from an earlier pass would show.
    CTipWrapper wrapper(metrics);
    for (int width = 0; width <= metrics.horizontalAdvance(text) + 2; ++width)
        expectWrapped(text, wrapper.Wrap(text, width), metrics, width);
}

TEST(TipWrapper, KeepsAtMostItsLimitsOfWidthsAndTips)
{
    const QFontMetrics metrics(QToolTip::font());
    CTipWrapper wrapper(metrics);
    QStringList words;
    for (qsizetype i = 0; i <= CTipWrapper::kMaxWords; ++i)
        words.append(QStringLiteral("w%1").arg(i));
    wrapper.Wrap(words.join(QLatin1Char(' ')), 300);
    EXPECT_LE(wrapper.KnownWords(), CTipWrapper::kMaxWords);
    const QString text = QStringLiteral("w1 w2 w3 and some words not seen before");
    expectWrapped(text, wrapper.Wrap(text, 60), metrics, 60);
    for (qsizetype i = 0; i <= CTipWrapper::kMaxTips; ++i)
        wrapper.Wrap(QStringLiteral("tip %1").arg(i), 60);
    EXPECT_LE(wrapper.KnownTips(), CTipWrapper::kMaxTips);
    expectWrapped(text, wrapper.Wrap(text, 60), metrics, 60);
}

}  // namespace

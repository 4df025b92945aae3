#include "framework/TipWrapper.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QStringList>
#include <QToolTip>

using orvx::framework::CTipWrapper;

namespace {

// A line of words measured whole, and the pixels it may differ from its words measured one by one:
// kerning and rounding move a whole line up to about a pixel per word.
struct Measured {
    int width;
    int slack;
};

Measured measure(const QFontMetrics& metrics, const QString& line)
{
    return {metrics.horizontalAdvance(line), static_cast<int>(line.count(QLatin1Char(' '))) + 1};
}

// The wrapping rule, stated on the lines as they are shown: no line wider than the limit unless it
// is one word, no word split or lost, and no line that the next line's first word would still fit.
void expectWrapped(const QString& text, const QString& wrapped, const QFontMetrics& metrics, int width)
{
    SCOPED_TRACE(width);
    const QStringList lines = wrapped.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.join(QLatin1Char(' ')), text.simplified());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QLatin1Char(' '))) {
            const Measured line = measure(metrics, lines[i]);
            EXPECT_LE(line.width, width + line.slack) << lines[i].toStdString();
        }
        if (i + 1 < lines.size()) {
            const Measured joined =
                measure(metrics, lines[i] + QLatin1Char(' ') + lines[i + 1].section(QLatin1Char(' '), 0, 0));
            EXPECT_GT(joined.width, width - joined.slack) << lines[i].toStdString();
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
    CTipWrapper wrapper(metrics);
    // Every width from one word per line to all on one: each boundary is crossed once.
    for (int width = 0; width <= metrics.horizontalAdvance(text) + 2; ++width)
        expectWrapped(text, wrapper.Wrap(text, width), metrics, width);
}

TEST(TipWrapper, AWrapperThatHasSeenTheWordsWrapsAsAFreshOne)
{
    const QFontMetrics metrics(QToolTip::font());
    CTipWrapper seasoned(metrics);
    seasoned.Wrap(QStringLiteral("Numeric value must be within the stroke limits of the valve"), 120);
    const QString text = QStringLiteral("The valve must be within its limits before a stroke test");
    EXPECT_EQ(seasoned.Wrap(text, 120), CTipWrapper(metrics).Wrap(text, 120));
}

TEST(TipWrapper, KeepsAtMostItsLimitOfWidths)
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
}

}  // namespace

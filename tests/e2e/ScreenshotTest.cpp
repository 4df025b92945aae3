// The screenshot run and what its pictures show: a moving valve, every page, a readable dark palette.
#include "ModuleFixture.h"
#include "frame/FrameWindow.h"
#include "frame/LiveShots.h"
#include "frame/ModuleLoader.h"
#include "frame/QtScheduler.h"
#include "platform/com/ComObject.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QRegularExpression>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cmath>
#include <map>

using namespace orvx;

namespace {

using test::Entry;
using test::Module;

// The pixels of a picture near a pure colour, as a chart draws its lines.
int pixelsNear(const QImage& image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 60 && std::abs(pixel.green() - colour.green()) < 60 &&
                std::abs(pixel.blue() - colour.blue()) < 60)
                ++count;
        }
    return count;
}

double meanLightness(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += image.pixelColor(x, y).lightness();
    return image.isNull() ? 0 : sum / (image.width() * image.height());
}

// The contrast of two colours as the accessibility guidelines reckon it, 1 (none) to 21.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The shown labels under 'root' whose text is hard to read on what is drawn behind them: the
// background of the nearest widget that fills its own, or of the window.
QStringList faintLabels(QWidget* root)
{
    QStringList faint;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        QWidget* behind = label;
        while (!behind->autoFillBackground() && !behind->isWindow())
            behind = behind->parentWidget();
        const QColor text = label->palette().color(label->foregroundRole());
        const QColor back = behind->palette().color(behind->backgroundRole());
        if (contrast(text, back) < 3.0)
            faint.append(QStringLiteral("%1 (%2 on %3)").arg(label->text(), text.name(), back.name()));
    }
    return faint;
}

// The overview pictured twice, light and then dark.
void checkOverviewLightAndDark(const QDir& folder)
{
    const QStringList overview = folder.entryList({QStringLiteral("online-00-*.png")});
    ASSERT_EQ(overview.size(), 1);
    EXPECT_GT(meanLightness(QImage(folder.filePath(overview[0]))), 180);
    const QImage dark(folder.filePath(QStringLiteral("dark-overview.png")));
    ASSERT_FALSE(dark.isNull());
    EXPECT_LT(meanLightness(dark), 110);
}

// The screenshot run strokes the valve before its first picture, pictures every page of the tree
// once and the overview in a dark palette, and leaves the application as it found it.
TEST_F(Module, TheScreenshotRunShowsAMovingValveAndEveryPage)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    frame::QtScheduler scheduler(4.0);
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    const auto number = [&](const char16_t* tag) {
        com::Variant value;
        device->GetParameter(com::BStr(tag), &value);
        return std::stod(value.toText().toUtf8());
    };
    const QPalette palette = QApplication::palette();
    const QString style = QApplication::style()->name();
    QTemporaryDir shots;
    // What the run says on the console: the offscreen platform's size-hint warning is dropped,
    // and the handler before the run takes messages again after it.
    static QStringList messages;
    const QtMessageHandler before = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { messages.append(message); });
    {
        frame::ModuleLoader loader;
        frame::FrameWindow window(loader, *device, &scheduler);
        QStringList errors;
        const int written = window.WriteScreenshots(shots.path(), &errors);
        qWarning("after the run");
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        const QStringList pictures = QDir(shots.path()).entryList({QStringLiteral("*.png")});
        EXPECT_EQ(written, pictures.size());

        auto* tabs = window.findChild<QTabWidget*>();
        ASSERT_NE(tabs, nullptr);
        std::map<QString, QWidget*> controls;
        for (int i = 0; i < tabs->count(); ++i)
            controls[tabs->tabText(i)] = tabs->widget(i);
        ASSERT_TRUE(controls.contains(QStringLiteral("Online")) && controls.contains(QStringLiteral("Trend")));
        auto* tree = controls[QStringLiteral("Online")]->findChild<QTreeWidget*>();
        ASSERT_NE(tree, nullptr);
        int pages = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ++pages;
        EXPECT_EQ(pictures.filter(QRegularExpression(QStringLiteral("^online-\\d\\d-"))).size(), pages);

        // The trend drew the stroke: the signal in blue, the pressure in red.
        auto* chart = controls[QStringLiteral("Trend")]->findChild<QWidget*>(QStringLiteral("item_211"));
        ASSERT_NE(chart, nullptr);
        const QImage trend = chart->grab().toImage();
        EXPECT_GT(pixelsNear(trend, Qt::blue), 50);
        EXPECT_GT(pixelsNear(trend, Qt::red), 50);
    }
    qInstallMessageHandler(before);
    EXPECT_EQ(messages.filter(QStringLiteral("propagateSizeHints")).size(), 0);
    EXPECT_TRUE(messages.contains(QStringLiteral("after the run")));
    EXPECT_NE(number(u"2000"), 12.0) << "the loop signal stroked the valve";
    EXPECT_LT(number(u"2003"), 0.5) << "Full Close drove the valve shut by hand";

    checkOverviewLightAndDark(QDir(shots.path()));
    EXPECT_EQ(QApplication::palette(), palette);
    EXPECT_EQ(QApplication::style()->name(), style);
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// In a dark palette every label of the overview stays readable, the identification area's too,
// which keeps its white background with dark text of its own.
TEST_F(Module, TheOverviewIsReadableInADarkPalette)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device);
    ASSERT_EQ(window.Open(frame::FrameWindow::Control::Online), QString());
    window.show();
    {
        const frame::ScopedPalette dark(frame::darkPalette());
        QCoreApplication::processEvents();
        EXPECT_EQ(faintLabels(&window).join(QLatin1String("; ")).toStdString(), "");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(faintLabels(&window).join(QLatin1String("; ")).toStdString(), "") << "in the palette from before";
    window.close();
    entry<Entry>("DllUnregisterServer")();
}

}  // namespace

#include "LiveShots.h"

#include "LookCheck.h"
#include "ShotWriter.h"
#include "simulator/SimulatedFaults.h"
#include "simulator/SimulatedPositioner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <iterator>
#include <utility>

namespace orvx::frame {

namespace {

// The loop signal in mA by the share of the stroke gone, between these points in a line.
constexpr std::pair<double, double> kStroke[] = {
    {0.0, 12.0}, {0.1, 12.0}, {0.3, 20.0}, {0.4, 20.0}, {0.6, 5.0}, {0.7, 5.0}, {0.85, 16.0}, {1.0, 16.0},
};

double signalAt(double share)
{
    const auto* after = std::find_if(std::begin(kStroke), std::end(kStroke),
                                     [share](const auto& point) { return point.first >= share; });
    if (after == std::begin(kStroke))
        return after->second;
    if (after == std::end(kStroke))
        return std::prev(after)->second;
    const auto& before = *std::prev(after);
    return before.second + (after->second - before.second) * (share - before.first) / (after->first - before.first);
}

}  // namespace

void strokeValve(simulator::SimulatedPositioner& device, int wallMs)
{
    QEventLoop loop;
    QTimer step;
    QElapsedTimer clock;
    QObject::connect(&step, &QTimer::timeout, &loop, [&] {
        const double share = std::min(1.0, static_cast<double>(clock.elapsed()) / std::max(wallMs, 1));
        device.SetInputSignal(signalAt(share));
        if (share >= 1.0)
            loop.quit();
    });
    clock.start();
    step.start(40);
    loop.exec();
}

QPalette darkPalette()
{
    const QColor window(53, 53, 53);
    const QColor base(35, 35, 35);
    const QColor text(230, 230, 230);
    const QColor disabled(128, 128, 128);
    const QColor highlight(42, 130, 218);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabled);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::red);
    palette.setColor(QPalette::Light, window.lighter(150));
    palette.setColor(QPalette::Midlight, window.lighter(125));
    palette.setColor(QPalette::Mid, window.darker(125));
    palette.setColor(QPalette::Dark, window.darker(150));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Link, highlight.lighter(130));
    palette.setColor(QPalette::LinkVisited, highlight.lighter(110));
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, disabled);
    return palette;
}

void checkEveryPage(QWidget* window, QTreeWidget* tree, const QString& when, QStringList* errors)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        tree->setCurrentItem(*it);
        QApplication::processEvents();
        for (const QString& problem : lookProblems(window))
            errors->append(QStringLiteral("%1, %2: %3").arg(when, (*it)->text(0), problem));
    }
}

void pictureTripped(QWidget* window, simulator::SimulatedPositioner& device, ShotWriter& shots)
{
    device.SetFault(simulator::SimulatedFault::EsdTrip, true);
    waitFor(
        [&] {
            const auto* words = window->findChild<QLabel*>(QStringLiteral("esdTrippedWords"));
            return words && words->isVisible() && words->text().endsWith(QLatin1String("YES"));
        },
        2000);
    shots.Take(window, QStringLiteral("overview-tripped.png"));
    device.SetFault(simulator::SimulatedFault::EsdTrip, false);
}

ScopedPalette::ScopedPalette(const QPalette& palette) : m_palette(QApplication::palette())
{
    const QString current = QApplication::style()->name();
    if (current.compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0) {
        m_style = current;
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    QApplication::setPalette(palette);
}

ScopedPalette::~ScopedPalette()
{
    if (!m_style.isEmpty())
        QApplication::setStyle(QStyleFactory::create(m_style));
    QApplication::setPalette(m_palette);
}

}  // namespace orvx::frame

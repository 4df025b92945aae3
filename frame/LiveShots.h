#pragma once

#include <QPalette>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QWidget;

namespace orvx::simulator {
class SimulatedPositioner;
}

namespace orvx::frame {

// Lets the device run for 'wallMs' of wall-clock time while the loop signal strokes the valve:
// open, nearly closed, and back to three quarters, so that the live values and the trend show
// a valve that moves. Runs the event loop meanwhile.
void strokeValve(simulator::SimulatedPositioner& device, int wallMs);

class ShotWriter;

// Shows every page of the tree in turn and notes what a user would misread on each, as
// "<when>, <page>: <problem>", without taking pictures.
void checkEveryPage(QWidget* window, QTreeWidget* tree, const QString& when, QStringList* errors);

// The shown overview while the ESD has tripped ("overview-tripped.png"); the trip is released
// again after the picture.
void pictureTripped(QWidget* window, simulator::SimulatedPositioner& device, ShotWriter& shots);

// A dark palette like the desktops' dark themes, for pictures of the pages in one.
QPalette darkPalette();

// Puts the application in a palette, with the Fusion style that draws every widget from it,
// until it goes out of scope; then the style and the palette from before come back.
class ScopedPalette {
public:
    explicit ScopedPalette(const QPalette& palette);
    ~ScopedPalette();
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;

private:
    QString m_style;  // empty when the style stays
    QPalette m_palette;
};

}  // namespace orvx::frame

#pragma once

#include <QPalette>
#include <QString>

namespace orvx::simulator {
class SimulatedPositioner;
}

namespace orvx::frame {

// Lets the device run for 'wallMs' of wall-clock time while the loop signal strokes the valve:
// open, nearly closed, and back to three quarters, so that the live values and the trend show
// a valve that moves. Runs the event loop meanwhile.
void strokeValve(simulator::SimulatedPositioner& device, int wallMs);

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

#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orvx::simulator {
class SimulatedPositioner;
}

namespace orvx::frame {

// Runs the simulated PST history (a test a month for a year while friction creeps up) for the
// device's tag and id and writes it into the data file 'path', replacing it. Answers an error
// text, or empty.
QString writeSimulatedHistory(simulator::SimulatedPositioner& device, const QString& path);

// On the online control's ESD and PST page: writes the simulated history into 'folder', opens it
// with PST History... and pictures the window. Then, from the Diagnostics page, loads the last
// test of the history and compares it with the first, and pictures the graph with its baseline.
// Answers how many pictures were written; problems go to 'errors'.
int writeHistoryShots(QWidget* control, simulator::SimulatedPositioner& device, const QString& folder,
                      QStringList* errors);

}  // namespace orvx::frame

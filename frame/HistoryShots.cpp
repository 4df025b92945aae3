#include "HistoryShots.h"

#include "DiagnosticShots.h"
#include "ModalScript.h"
#include "ShotWriter.h"
#include "device/StringBridge.h"
#include "simulator/SimulatedHistory.h"
#include "simulator/SimulatedPositioner.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>

namespace orvx::frame {

namespace {

const QString kHistory = QStringLiteral("Orvx ESD  - PST History");
constexpr int kPstHistoryButton = 466;
constexpr int kCloseButton = 2;
constexpr int kWaitMs = 10000;

QString parameter(simulator::SimulatedPositioner& device, const char* tag)
{
    com::Variant value;
    if (com::failed(device.GetParameter(com::BStr::fromUtf8(tag), &value)))
        return {};
    try {
        return host::variantText(value).trimmed();
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

QString writeSimulatedHistory(simulator::SimulatedPositioner& device, const QString& path)
{
    const QString tag = parameter(device, "1001");
    bool ok = false;
    const int id = parameter(device, "1003").toInt(&ok);
    if (tag.isEmpty() || !ok)
        return QStringLiteral("The simulated device has no tag or id.");
    const std::string text = simulator::pstHistoryFile(simulator::simulatePstHistory({}), tag.toLatin1().toStdString(),
                                                       id);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

int writeHistoryShots(QWidget* control, simulator::SimulatedPositioner& device, const QString& folder,
                      QStringList* errors)
{
    const QString dataFile = QDir(folder).absoluteFilePath(QStringLiteral("simulated-pst-history.dgn"));
    if (const QString error = writeSimulatedHistory(device, dataFile); !error.isEmpty()) {
        errors->append(error);
        return 0;
    }
    QAbstractButton* history = selectPage(control, QStringLiteral("ESD and PST"))
                                   ? visibleButton(control, kPstHistoryButton)
                                   : nullptr;
    if (!history) {
        errors->append(QStringLiteral("the ESD and PST page has no PST History button"));
        return 0;
    }
    ShotWriter shots(folder, errors);
    ModalScript script({
        {QStringLiteral("QFileDialog"), [&](QWidget* dialog) { chooseFile(dialog, dataFile); }},
        {kHistory,
         [&](QWidget* window) {
             shots.Take(window, "diagnostics-pst-history.png");
             ModalScript::ClickLater(window, kCloseButton);
         }},
    });
    script.Run([history] { history->click(); }, kWaitMs, errors);
    return shots.Written();
}

}  // namespace orvx::frame

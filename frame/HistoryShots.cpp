#include "HistoryShots.h"

#include "DiagnosticShots.h"
#include "ModalScript.h"
#include "ShotWriter.h"
#include "device/StringBridge.h"
#include "device/Vocabulary.h"
#include "simulator/SimulatedHistory.h"
#include "simulator/SimulatedPositioner.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace orvx::frame {

namespace {

const QString kHistory = QStringLiteral("Orvx ESD  - PST History");
constexpr int kLoadFromFile = 217;  // on the Diagnostics page
constexpr int kRecordList = 389;
constexpr int kPickerOk = 1;
constexpr int kGraphClose = 359;
constexpr int kPstHistoryButton = 466;
constexpr int kCloseButton = 2;
constexpr int kWaitMs = 10000;

// Picks the first or the last record of the picker's list and accepts it.
void pickRecord(QWidget* picker, bool last)
{
    if (auto* list = picker->findChild<QTreeWidget*>(QStringLiteral("item_%1").arg(kRecordList));
        list && list->topLevelItemCount())
        list->setCurrentItem(list->topLevelItem(last ? list->topLevelItemCount() - 1 : 0));
    ModalScript::ClickLater(picker, kPickerOk);
}

// Presses a button that has a name but no item number once the step has returned.
void clickLater(QWidget* window, const char* name)
{
    QPointer<QPushButton> button = window->findChild<QPushButton*>(QLatin1String(name));
    QTimer::singleShot(0, window, [button] {
        if (button)
            button->click();
    });
}

// The last test of the history against the first, as a user compares a PST with its baseline.
void takeComparison(QWidget* control, const QString& dataFile, ShotWriter& shots, QStringList* errors)
{
    QAbstractButton* fromFile = selectPage(control, QStringLiteral("Diagnostics"))
                                    ? visibleButton(control, kLoadFromFile)
                                    : nullptr;
    if (!fromFile) {
        errors->append(QStringLiteral("the Diagnostics page has no Load From File button"));
        return;
    }
    ModalScript script({
        {kFileDialog, [&](QWidget* dialog) { chooseFile(dialog, dataFile); }},
        {kPickerWindow, [](QWidget* picker) { pickRecord(picker, true); }},
        {kGraphWindow, [](QWidget* graph) { clickLater(graph, "compareWith"); }},
        {kFileDialog, [&](QWidget* dialog) { chooseFile(dialog, dataFile); }},
        {kPickerWindow, [](QWidget* picker) { pickRecord(picker, false); }},
        {kGraphWindow,
         [&](QWidget* graph) {
             shots.Take(graph, "diagnostics-baseline.png");
             ModalScript::ClickLater(graph, kGraphClose);
         }},
    });
    script.Run([fromFile] { fromFile->click(); }, kWaitMs, errors);
}

QString parameter(simulator::SimulatedPositioner& device, const device::Parameter& read)
{
    com::Variant value;
    if (com::failed(device.GetParameter(com::BStr::fromUtf8(read.tag), &value)))
        return {};
    try {
        return device::variantText(value).trimmed();
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

QString writeSimulatedHistory(simulator::SimulatedPositioner& device, const QString& path)
{
    const QString tag = parameter(device, device::parameter::DeviceTag);
    bool ok = false;
    const int id = parameter(device, device::parameter::DeviceId).toInt(&ok);
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
    takeComparison(control, dataFile, shots, errors);
    return shots.Written();
}

}  // namespace orvx::frame

#include "GraphLoading.h"

#include "DataFileDialogs.h"
#include "DeviceRecord.h"
#include "DeviceValues.h"
#include "DiagGraph.h"
#include "DlgPickData.h"
#include "NvEsdDataFileSvr.h"
#include "PlantRecords.h"
#include "PstHistoryWindow.h"
#include "XFileException.h"
#include "device/DataFileLines.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IStatusArea.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"

namespace orvx::diagnostics {

namespace {

const QString kCaption = QStringLiteral("Orvx ESD DTM");

// Why there is no graph: in a message box when private dialogs are enabled, on the status line
// otherwise.
void tell(framework::IUIController& controller, QWidget* owner, const QString& text)
{
    if (controller.IsPrivateDialogEnabled()) {
        ui::showMessage(owner, kCaption, text, ui::MessageButtons::Ok, ui::MessageIcon::Error);
        return;
    }
    if (framework::IStatusArea* status = controller.GetStatusArea())
        status->SetMessage(text);
    else
        ui::reportError(text);
}

static_assert(device::datafile::kValueCount == kRecordValueCount);

// History... over the record's device: its tests in 'file' (none: the user chooses one), graded
// against the limits the graph knows; those are in the unit of the record.
CDiagGraph::HistoryHandler historyOf(const QString& file)
{
    return [file](const DiagRecord& record, const std::optional<PstLimits>& limits, QWidget* owner) {
        showPstHistory({record.tag, record.deviceId, limits, record.Value(RecordValue::PresUnits), file}, owner);
    };
}

// An ESD event read off the device goes into the plant store as it is shown: the device keeps only
// its last one, and not when it happened, so it is kept as of its reading (the same event read
// again is kept once: a test's identity is its numbers). A store that refuses is said before the graph opens, so that
// the user saves the event to a data file from it.
void keepEsdEvent(framework::IUIController& controller, const DiagRecord& event, QWidget* owner)
{
    IPlantRecords* plant = plantRecords();
    if (!plant || !plant->Keeps())
        return;
    bool available = false;
    QString why;
    const QDateTime now = ui::currentDateTime().toUTC();
    if (plant->Keep({now, event}, &available, &why))
        return;
    if (why.isEmpty())
        why = QStringLiteral("the plant store cannot be opened");
    tell(controller, owner,
         QStringLiteral("The ESD event of %1 was not kept in the plant store: %2. Save it to a data file from its "
                        "graph.")
             .arg(event.tag.trimmed(), why));
}

}  // namespace

bool loadDeviceCurves(framework::IUIController& controller, DiagKind kind, CDiagGraph& graph, QWidget* owner)
{
    const CDeviceValues device(controller);
    try {
        const bool fill = graph.SetCurveText(device.Text(device::tag::FillCurve), 2);
        const bool exhaust = graph.SetCurveText(device.Text(device::tag::ExhaustCurve), 1);
        if (kind == DiagKind::Esd && !exhaust) {
            tell(controller, owner, QStringLiteral("No ESD data available!"));
            return false;
        }
        if (kind == DiagKind::Pst && !(fill && exhaust)) {
            tell(controller, owner, QStringLiteral("No PST data available!"));
            return false;
        }
        const std::int32_t unit = device.Integer(device::tag::MeasuredPressureUnit);
        const std::int32_t interval = device.Integer(device::tag::SampleInterval);
        graph.SetSampling(interval, unit);

        const auto integer = [&device](QLatin1StringView tag) { return device.Integer(tag); };
        const auto values = deviceRecordValues(kind, integer, interval, unit);
        if (kind == DiagKind::Pst)
            graph.SetLimits(device.Limits());
        graph.SetRecord(kind, device.Text(device::tag::DeviceTag), device.Integer(device::tag::DeviceId), values);
        return true;
    } catch (const std::exception&) {  // a refused read (ComError) or a value that is no number
    }
    tell(controller, owner, QStringLiteral("Failed when getting PST data!"));
    return false;
}

void showDeviceCurves(framework::IUIController& controller, DiagKind kind, QWidget* owner)
{
    CDiagGraph graph(owner);
    if (!loadDeviceCurves(controller, kind, graph, owner))
        return;
    if (kind == DiagKind::Esd)
        keepEsdEvent(controller, graph.Record(), owner);
    graph.SetSaveHandler(&saveRecordToFile);
    graph.SetHistoryHandler(historyOf({}));
    graph.Show(owner);
}

void showFileRecord(const DiagRecord& record, QWidget* owner, const QString& file, const RecordKey& key)
{
    CDiagGraph graph(owner);
    graph.SetFromFile(record);
    if (!file.isEmpty())
        graph.SetSource(file, key);
    graph.SetSaveHandler(&saveRecordToFile);
    graph.SetHistoryHandler(historyOf(file));
    graph.Show(owner);
}

void showRecordFromFile(QWidget* owner)
{
    if (const auto picked = pickRecord(owner))
        showFileRecord(picked->record, owner, picked->file, picked->key);
}

}  // namespace orvx::diagnostics

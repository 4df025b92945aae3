#include "GraphLoading.h"

#include "DataFileDialogs.h"
#include "DeviceValues.h"
#include "DiagGraph.h"
#include "DlgPickData.h"
#include "NvEsdDataFileSvr.h"
#include "XFileException.h"
#include "device/DeviceNames.h"
#include "platform/ui/DialogService.h"

namespace orvx::diagnostics {

namespace {

const QString kCaption = QStringLiteral("Orvx ESD DTM");

void tell(QWidget* owner, const QString& text)
{
    ui::showMessage(owner, kCaption, text, ui::MessageButtons::Ok, ui::MessageIcon::Error);
}

// Where each record value comes from on the device, in record order; the samples up are the
// stroke's total less the samples down and are worked out below.
struct ValueSource {
    RecordValue value;
    const char* tag;
};
constexpr ValueSource kPstValues[] = {
    {RecordValue::PstPassed, "16040"},      {RecordValue::Friction, "16041"},
    {RecordValue::LSpringRange, "16042"},   {RecordValue::USpringRange, "16043"},
    {RecordValue::BreakAwayPres, "16044"},  {RecordValue::Droop, "16045"},
    {RecordValue::RspTimeExhaust, "16046"}, {RecordValue::RspTimeFill, "16047"},
    {RecordValue::NumSamplesDown, "16048"}, {RecordValue::Interval, "16050"},
    {RecordValue::PstStart, "16051"},       {RecordValue::PstTravel, "16052"},
    {RecordValue::PstSpeed, "16053"},
};
constexpr const char* kSamplesTotal = "16049";

}  // namespace

bool loadDeviceCurves(framework::IUIController& controller, DiagKind kind, CDiagGraph& graph, QWidget* owner)
{
    const CDeviceValues device(controller);
    try {
        const bool fill = graph.SetCurveText(device.Text(device::tag::FillCurve), 2);
        const bool exhaust = graph.SetCurveText(device.Text(device::tag::ExhaustCurve), 1);
        if (kind == DiagKind::Esd && !exhaust) {
            tell(owner, QStringLiteral("No ESD data available!"));
            return false;
        }
        if (kind == DiagKind::Pst && !(fill && exhaust)) {
            tell(owner, QStringLiteral("No PST data available!"));
            return false;
        }
        const std::int32_t unit = device.Integer(device::tag::MeasuredPressureUnit);
        graph.SetSampling(device.Integer(device::tag::SampleInterval), unit);

        std::array<std::int32_t, kRecordValueCount> values{};
        const auto set = [&values](RecordValue which, std::int32_t value) {
            values[static_cast<std::size_t>(which)] = value;
        };
        if (kind == DiagKind::Pst) {
            for (const auto& source : kPstValues)
                set(source.value, device.Integer(QLatin1StringView(source.tag)));
            set(RecordValue::NumSamplesUp, device.Integer(QLatin1StringView(kSamplesTotal)) -
                                               values[static_cast<std::size_t>(RecordValue::NumSamplesDown)]);
            graph.SetLimits(device.Limits());
        }
        set(RecordValue::PresUnits, unit);
        graph.SetRecord(kind, device.Text(device::tag::DeviceTag), device.Integer(device::tag::DeviceId), values);
        return true;
    } catch (const std::exception&) {  // a refused read (ComError) or a value that is no number
    }
    tell(owner, QStringLiteral("Failed when getting PST data!"));
    return false;
}

void showDeviceCurves(framework::IUIController& controller, DiagKind kind, QWidget* owner)
{
    CDiagGraph graph(owner);
    if (!loadDeviceCurves(controller, kind, graph, owner))
        return;
    graph.SetSaveHandler(&saveRecordToFile);
    graph.Show(owner);
}

void showRecordFromFile(QWidget* owner)
{
    if (const auto picked = pickRecord(owner)) {
        CDiagGraph graph(owner);
        graph.SetFromFile(picked->record);
        graph.SetSource(picked->file, picked->key);
        graph.SetSaveHandler(&saveRecordToFile);
        graph.Show(owner);
    }
}

}  // namespace orvx::diagnostics

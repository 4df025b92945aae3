// Figures on the system's libraries directly, where the benchmark needs a hand on the clock or
// on one object: the trend (P4), applying ViewSettings (P6) and the diagnostic graph (P8).
#include "Bench.h"
#include "Hosting.h"
#include "WidgetTree.h"
#include "controls/IFdtControl.h"
#include "device/StringBridge.h"
#include "diagnostics/DiagGraph.h"
#include "framework/ApplicationViewBase.h"
#include "frameworkapi/IApplicationView.h"
#include "host/FullControls.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/Resources.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QDoubleValidator>
#include <QHash>
#include <QLineEdit>
#include <QLineSeries>
#include <QRadioButton>
#include <QValueAxis>
#include <pugixml.hpp>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace orvx::bench {

namespace {

const QString kFunctionCall = QStringLiteral(
    "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:DTMFunctionCallSchema.xml\"><FunctionCall functionId=\"0\"/></FDT>");

class ManualClock : public ui::ISteadyClock {
public:
    std::int64_t milliseconds() const override { return now; }
    std::int64_t now = 0;
};

// Modal windows stay open without waiting: the benchmark works them afterwards.
class OpenDialogs : public ui::IDialogService {
public:
    ui::DialogAnswer ShowMessage(const ui::MessageRequest&) override { return ui::DialogAnswer::Ok; }
    int RunModal(QDialog& dialog) override
    {
        dialog.show();
        QApplication::processEvents();
        return QDialog::Rejected;
    }
    QString ChooseFile(const ui::FileRequest&) override { return {}; }
};

// A control of the libraries, made as the module's class factory makes it, in a window.
template <class Control>
struct LinkedControl {
    explicit LinkedControl(Device& device)
    {
        parent.resize(1000, 700);
        control = com::makeComObject<Control>();
        bool result = false;
        if (com::failed(control->CreateControlWindow(&parent)) ||
            com::failed(control->Init(device::toBStr(QStringLiteral("bench")), device::toBStr(kFunctionCall),
                                      device.positioner->identity(), &result)) ||
            !result)
            throw std::runtime_error("the control did not start");
        parent.show();
        QApplication::processEvents();
    }
    ~LinkedControl()
    {
        bool result = false;
        control->PrepareToRelease(&result);
    }
    QWidget parent;
    com::ComPtr<Control> control;
};

constexpr int kSampleMs = 500;
constexpr int kWindowSamples = 180 * 1000 / kSampleMs;

// The trend control on a clock of the benchmark's, its chart full to its three minutes.
struct Trend {
    Trend() : previous(ui::setSteadyClock(&clock)), control(device)
    {
        chart = control.control->ControlWindow()->findChild<QWidget*>(QStringLiteral("item_211"));
        if (!chart || !chart->isVisible())
            throw std::runtime_error("no trend chart shown");
        for (int i = 0; i < kWindowSamples + 10; ++i)
            Sample();
    }
    ~Trend() { ui::setSteadyClock(previous); }
    void Sample()
    {
        clock.now += kSampleMs;
        static_cast<device::IUpdateUI*>(control.control.get())->Notify(524, none);
        QApplication::processEvents();
        chart->repaint();
    }
    ManualClock clock;
    ui::ISteadyClock* previous;
    Device device;
    LinkedControl<host::CTrend> control;
    QWidget* chart = nullptr;
    const com::Variant none;
};

void P4_Sample(benchmark::State& state)
{
    Trend trend;
    for (auto _ : state)
        trend.Sample();
}

// Qt Charts alone: the same chart, three series appended to and scrolled as the trend does.
void P4_Floor(benchmark::State& state)
{
    std::unique_ptr<QWidget> root;
    {
        Trend trend;
        root.reset(WidgetTree::Read(trend.chart).Build(nullptr));
        root->resize(trend.chart->size());
    }
    root->show();
    auto* view = root->findChild<QChartView*>();
    QChart* chart = view->chart();
    auto* time = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    QList<QLineSeries*> series;
    for (QAbstractSeries* s : chart->series())
        if (auto* line = qobject_cast<QLineSeries*>(s))
            series.append(line);
    // The same values as the trend draws: the simulated valve stands still.
    QList<double> values;
    for (QLineSeries* s : series)
        values.append(s->count() ? s->at(s->count() - 1).y() : 0);
    double t = series.value(0) && series[0]->count() ? series[0]->at(series[0]->count() - 1).x() : 0;
    double end = time ? time->max() : 180;
    for (auto _ : state) {
        t += kSampleMs / 1000.0;
        for (int i = 0; i < series.size(); ++i)
            series[i]->append(t, values[i]);
        if (t > end) {
            end += 60;
            for (QLineSeries* s : series) {
                int old = 0;
                while (old < s->count() && s->at(old).x() < end - 180)
                    ++old;
                s->removePoints(0, old);
            }
            if (time)
                time->setRange(end - 180, end);
        }
        QApplication::processEvents();
        root->repaint();
    }
}

void P4_Hour(benchmark::State& state)
{
    const int samples = Smoke() ? 240 : 3600 * 1000 / kSampleMs;
    for (auto _ : state) {
        Trend trend;
        long half = 0;
        for (int i = 1; i <= samples; ++i) {
            trend.Sample();
            if (i == samples / 2)
                half = residentKb();
        }
        state.counters["growth_kb"] = static_cast<double>(residentKb() - half);
        state.counters["samples"] = samples;
    }
}

// The ViewSetting resource of each page of the main view, by view id.
constexpr int kViewSettings[] = {220, 221, 245, 222, 223, 224, 225, 226, 227, 228, 229, 230,
                                 231, 232, 233, 268, 234, 235, 236, 227, 237, 238, 241, 242};

// The timed work of P6, a function of its own so that a profile can tell it from the set-up.
[[gnu::noinline]] void applyAll(const std::vector<std::pair<framework::IApplicationView*, QString>>& pages)
{
    for (const auto& [page, setting] : pages)
        page->ApplyViewSetting(setting);
}

void P6_ApplyViewSettings(benchmark::State& state)
{
    Device device;
    LinkedControl<host::COrvxESDDTMGUIView> view(device);
    framework::CUIController& controller = view.control->Controller();
    std::vector<std::pair<framework::IApplicationView*, QString>> pages;
    for (int id = 0; id < static_cast<int>(std::size(kViewSettings)); ++id) {
        controller.ActivateView(id);
        if (framework::IApplicationView* page = controller.GetView(id))
            pages.emplace_back(page, ui::xmlResource(kViewSettings[id]));
    }
    QApplication::processEvents();
    for (auto _ : state)
        applyAll(pages);
    state.counters["pages"] = static_cast<double>(pages.size());
}

// Parsing the 24 ViewSettings alone, for information: no code that configures widgets comes
// near it.
void P6_Parse(benchmark::State& state)
{
    std::vector<QByteArray> documents;
    for (int resource : kViewSettings)
        documents.push_back(ui::xmlResource(resource).toUtf8());
    for (auto _ : state)
        for (const QByteArray& text : documents) {
            pugi::xml_document document;
            benchmark::DoNotOptimize(document.load_buffer(text.constData(), static_cast<size_t>(text.size())));
        }
}

// One page's controls as bare Qt widgets, built from the page's real widget tree, by item number.
struct BarePage {
    std::unique_ptr<QWidget> root;
    QHash<int, QWidget*> items;
    QByteArray setting;
};

// Configures one bare control from its ControlData with bare Qt calls, as the controls do:
// choices, value, validator range, enabled state, visibility and tool tip.
void configureBare(QWidget* widget, const pugi::xml_node& data)
{
    if (const pugi::xml_node choices = data.child("ChoiceCollection"))
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->clear();
            for (const pugi::xml_node& choice : choices.children("Choice"))
                combo->addItem(QString::fromUtf8(choice.attribute("caption").value()),
                               QString::fromUtf8(choice.attribute("tag").value()));
        }
    const bool enabled = !data.attribute("enabled") || data.attribute("enabled").as_bool();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (const pugi::xml_attribute value = data.attribute("value"))
            edit->setText(QString::fromUtf8(value.value()));
        // A range in the page's numbers, or a pressure range in psi (the unit the pages start in).
        if (const pugi::xml_node range = data.child("Validator")) {
            const bool pressure = range.attribute("minpsi");
            delete edit->validator();
            edit->setValidator(new QDoubleValidator(range.attribute(pressure ? "minpsi" : "min").as_double(),
                                                    range.attribute(pressure ? "maxpsi" : "max").as_double(), 6, edit));
        }
        if (const pugi::xml_attribute length = data.attribute("stringLength"))
            edit->setMaxLength(length.as_int());
        edit->setReadOnly(!enabled);
    } else {
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && data.attribute("value"))
            combo->setCurrentIndex(combo->findData(QString::fromUtf8(data.attribute("value").value())));
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && data.attribute("value"))
            button->setChecked(data.attribute("value").as_int() != 0);
        widget->setEnabled(enabled);
    }
    widget->setVisible(!data.attribute("visible") || data.attribute("visible").as_bool());
    if (const pugi::xml_attribute tip = data.attribute("tooltip"))
        widget->setToolTip(QString::fromUtf8(tip.value()));
}

// The timed work of P6's floor: each page's setting parsed and its controls configured.
[[gnu::noinline]] int configureAll(std::vector<BarePage>& pages, const pugi::xpath_query& controlData)
{
    int configured = 0;
    for (BarePage& page : pages) {
        pugi::xml_document document;
        document.load_buffer(page.setting.constData(), static_cast<size_t>(page.setting.size()));
        for (const pugi::xpath_node& node : controlData.evaluate_node_set(document))
            if (QWidget* widget = page.items.value(node.node().attribute("controlId").as_int())) {
                configureBare(widget, node.node());
                ++configured;
            }
    }
    return configured;
}

// The same controls configured by hand from the parsed documents: each page's widget tree read
// into bare Qt widgets, each ControlData found by XPath as the pages find it, and applied with
// bare Qt calls.
void P6_Floor(benchmark::State& state)
{
    std::vector<BarePage> pages;
    {
        Device device;
        LinkedControl<host::COrvxESDDTMGUIView> view(device);
        framework::CUIController& controller = view.control->Controller();
        for (int id = 0; id < static_cast<int>(std::size(kViewSettings)); ++id) {
            controller.ActivateView(id);
            framework::IApplicationView* page = controller.GetView(id);
            if (!page || !page->GetWindow())
                continue;
            BarePage bare;
            bare.root.reset(WidgetTree::Read(page->GetWindow()).Build(nullptr));
            // Each control's bare twin, found by the object name of the real control's widget.
            auto* real = dynamic_cast<framework::CApplicationViewBase*>(page);
            if (!real)
                continue;
            real->ForEachControl([&bare](controls::IFdtControl& control) {
                const QWidget* edit = control.GetEditWindow();
                if (!edit || edit->objectName().isEmpty())
                    return;
                if (auto* twin = bare.root->findChild<QWidget*>(edit->objectName()))
                    bare.items.insert(control.GetControlId(), twin);
            });
            bare.setting = ui::xmlResource(kViewSettings[id]).toUtf8();
            pages.push_back(std::move(bare));
        }
    }
    for (BarePage& page : pages)
        page.root->show();
    QApplication::processEvents();
    const pugi::xpath_query controlData("//ControlData");
    int configured = 0;
    for (auto _ : state)
        configured = configureAll(pages, controlData);
    state.counters["pages"] = static_cast<double>(pages.size());
    // Shows that the bare widgets were found: near the number of ControlData of the 24 settings.
    state.counters["controls"] = configured;
}

// A PST signature of 10,000 points: 5,000 down, 5,000 back up, as a valve with friction draws it.
diagnostics::DiagRecord signature()
{
    diagnostics::DiagRecord record;
    record.tag = QStringLiteral("PV-01");
    record.deviceId = 42;
    record.values[static_cast<int>(diagnostics::RecordValue::Interval)] = 10;
    record.values[static_cast<int>(diagnostics::RecordValue::PresUnits)] = 6;
    constexpr int kHalf = 5000;
    for (int i = 0; i < kHalf; ++i) {
        const float travel = 100.0f - 20.0f * static_cast<float>(i) / kHalf;
        const float wobble = 0.3f * std::sin(static_cast<float>(i) * 0.05f);
        record.curve1.position.push_back(travel + wobble);
        record.curve1.pressure.push_back(30.0f - 0.2f * (100.0f - travel) - 2.0f + wobble);
        record.curve2.position.push_back(80.0f + 20.0f * static_cast<float>(i) / kHalf + wobble);
        record.curve2.pressure.push_back(26.0f + 0.2f * 20.0f * static_cast<float>(i) / kHalf + 2.0f - wobble);
    }
    record.SetValue(diagnostics::RecordValue::NumSamplesDown, kHalf);
    record.SetValue(diagnostics::RecordValue::NumSamplesUp, kHalf);
    return record;
}

// The graph window open on the signature.
struct Graph {
    Graph() : previous(ui::setDialogService(&dialogs))
    {
        graph.SetFromFile(signature());
        graph.Show(nullptr);
        chart = graph.findChild<QWidget*>(QStringLiteral("item_367"));
        modes[0] = graph.findChild<QRadioButton*>(QStringLiteral("item_364"));
        modes[1] = graph.findChild<QRadioButton*>(QStringLiteral("item_365"));
        if (!chart || !modes[0] || !modes[1])
            throw std::runtime_error("the graph window changed");
    }
    ~Graph() { ui::setDialogService(previous); }
    // Switches to the mode and draws the chart. Not inlined, so that a profile can tell it.
    [[gnu::noinline]] void Draw(int mode)
    {
        modes[mode]->setChecked(true);
        QApplication::processEvents();
        chart->repaint();
    }
    OpenDialogs dialogs;
    ui::IDialogService* previous;
    diagnostics::CDiagGraph graph;
    QWidget* chart = nullptr;
    QRadioButton* modes[2] = {};
};

void P8_Draw(benchmark::State& state, int mode)
{
    Graph graph;
    for (auto _ : state) {
        state.PauseTiming();
        graph.Draw(1 - mode);
        state.ResumeTiming();
        graph.Draw(mode);
    }
}

using SeriesLoads = QList<QPair<QXYSeries*, QList<QPointF>>>;

[[gnu::noinline]] void reloadAndDraw(const SeriesLoads& loads, QWidget& root)
{
    for (const auto& [series, points] : loads)
        series->replace(points);
    QApplication::processEvents();
    root.repaint();
}

// Qt Charts alone: the same chart loaded with the same points and drawn.
void P8_Floor(benchmark::State& state, int mode)
{
    std::unique_ptr<QWidget> root;
    {
        Graph graph;
        graph.Draw(mode);
        root.reset(WidgetTree::Read(graph.chart).Build(nullptr));
        root->resize(graph.chart->size());
    }
    root->show();
    QChart* chart = root->findChild<QChartView*>()->chart();
    SeriesLoads loads;
    for (QAbstractSeries* s : chart->series())
        if (auto* xy = qobject_cast<QXYSeries*>(s))
            loads.append({xy, xy->points()});
    for (auto _ : state) {
        state.PauseTiming();
        for (auto& [series, points] : loads)
            series->clear();
        QApplication::processEvents();
        state.ResumeTiming();
        reloadAndDraw(loads, *root);
    }
    int points = 0;
    for (auto& [series, list] : loads)
        points += static_cast<int>(list.size());
    state.counters["points"] = points;
}

}  // namespace

void RegisterLibraryBenchmarks()
{
    using benchmark::RegisterBenchmark;
    const auto us = benchmark::kMicrosecond;
    Timed(RegisterBenchmark("P4/ours", P4_Sample))->Unit(us);
    Timed(RegisterBenchmark("P4/floor", P4_Floor))->Unit(us);
    RegisterBenchmark("P4/hour", P4_Hour)->Iterations(1)->Unit(benchmark::kMillisecond);
    Steady(Timed(RegisterBenchmark("P6/ours", P6_ApplyViewSettings)))->Unit(us);
    Steady(Timed(RegisterBenchmark("P6/floor", P6_Floor)))->Unit(us);
    Timed(RegisterBenchmark("P6/parse", P6_Parse))->Unit(us);
    for (int mode : {0, 1}) {
        const std::string name = mode == 0 ? "P8/pressure" : "P8/time";
        Steady(RegisterBenchmark((name + "/ours").c_str(), P8_Draw, mode))->Unit(us)->Iterations(SetUpIterations(20));
        Steady(RegisterBenchmark((name + "/floor").c_str(), P8_Floor, mode))->Unit(us)->Iterations(SetUpIterations(20));
    }
}

}  // namespace orvx::bench

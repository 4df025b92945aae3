// Figures through the real module over the simulator: start-up (P1), the pages (P2), a
// notification (P3) and the memory of the main view (P7).
#include "Bench.h"
#include "Hosting.h"
#include "WidgetTree.h"
#include "host/Guids.h"

#include <QApplication>

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>

namespace orvx::bench {

namespace {

const com::Guid& mainView()
{
    return host::CLSID_OrvxESDDTMGUIView;
}

QStringList& labels()
{
    static QStringList all;
    return all;
}

// The widgets a picture or a window holds, for the table's check that the floor is the same tree.
int widgetCount(QWidget* root)
{
    int count = 0;
    for (int n : WidgetTree::Count(root))
        count += n;
    return count;
}

void settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The main view after Init, parent included.
// Pictures hold pixmaps: they are kept to the end of the process, past the application.
const WidgetTree& startPicture()
{
    static const WidgetTree* picture = [] {
        Device device;
        HostedControl view(mainView(), device);
        return new WidgetTree(WidgetTree::Read(&view.Parent()));
    }();
    return *picture;
}

// The main view with every page made, the overview shown again.
const WidgetTree& allPagesPicture()
{
    static const WidgetTree* picture = [] {
        Device device;
        HostedControl view(mainView(), device);
        for (const QString& label : labels())
            view.Select(label);
        view.Select(labels().front());
        return new WidgetTree(WidgetTree::Read(&view.Parent()));
    }();
    return *picture;
}

// A page as it stands when first shown, and the size it was shown at.
struct PagePicture {
    WidgetTree tree;
    QSize size;
    int widgets = 0;
};

const PagePicture& pagePicture(int page)
{
    static auto& pictures = *new std::map<int, PagePicture>;
    if (const auto it = pictures.find(page); it != pictures.end())
        return it->second;
    Device device;
    HostedControl view(mainView(), device);
    view.Select(labels().at(page));
    QWidget* shown = view.ShownPage();
    if (!shown)
        throw std::runtime_error("no page shown");
    return pictures[page] = {WidgetTree::Read(shown), shown->size(), widgetCount(shown)};
}

void P1_InitToFirstPage(benchmark::State& state)
{
    int widgets = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto device = std::make_unique<Device>();
        state.ResumeTiming();
        auto view = std::make_unique<HostedControl>(mainView(), *device);
        state.PauseTiming();
        widgets = widgetCount(&view->Parent());
        view.reset();
        device.reset();
        settle();
        state.ResumeTiming();
    }
    state.counters["widgets"] = widgets;
}

// The timed work of P1's and P2's floors: the tree built into 'parent' (none for a window of its
// own), shown and laid out. A function of its own, so that a profile can tell it apart.
[[gnu::noinline]] QWidget* floorShow(const WidgetTree& picture, QWidget* parent)
{
    QWidget* root = picture.Build(parent);
    root->show();
    QApplication::processEvents();
    return root;
}

void P1_Floor(benchmark::State& state)
{
    const WidgetTree& picture = startPicture();
    for (auto _ : state) {
        std::unique_ptr<QWidget> root(floorShow(picture, nullptr));
        state.PauseTiming();
        root.reset();
        settle();
        state.ResumeTiming();
    }
    state.counters["widgets"] = picture.Size();
}

void P2_FirstCreation(benchmark::State& state, int page)
{
    int widgets = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto device = std::make_unique<Device>();
        auto view = std::make_unique<HostedControl>(mainView(), *device);
        state.ResumeTiming();
        view->Select(labels().at(page));
        state.PauseTiming();
        widgets = widgetCount(view->ShownPage());
        view.reset();
        device.reset();
        settle();
        state.ResumeTiming();
    }
    state.counters["widgets"] = widgets;
}

void P2_Floor(benchmark::State& state, int page)
{
    const PagePicture& picture = pagePicture(page);
    QWidget container;
    container.resize(picture.size);
    container.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        auto device = std::make_unique<Device>();
        auto view = std::make_unique<HostedControl>(mainView(), *device);
        state.ResumeTiming();
        QWidget* root = floorShow(picture.tree, &container);
        state.PauseTiming();
        delete root;
        view.reset();
        device.reset();
        settle();
        state.ResumeTiming();
    }
    state.counters["widgets"] = picture.tree.Size();
}

// One main view with every page made, for the re-activations.
std::unique_ptr<Device> everyPageDevice;
std::unique_ptr<HostedControl> everyPageView;

void P2_Reactivation(benchmark::State& state, int page)
{
    auto& device = everyPageDevice;
    auto& view = everyPageView;
    if (!view) {
        device = std::make_unique<Device>();
        view = std::make_unique<HostedControl>(mainView(), *device);
        for (const QString& label : labels())
            view->Select(label);
    }
    const QString& other = labels().at(page == 0 ? 1 : 0);
    for (auto _ : state) {
        state.PauseTiming();
        view->Select(other);
        state.ResumeTiming();
        view->Select(labels().at(page));
    }
}

void P3_Notification(benchmark::State& state)
{
    Device device;
    HostedControl view(mainView(), device);
    const com::Variant none;
    // The device reads one notification causes: a layer that reads again shows here first.
    device.positioner->recording = true;
    view.Updates().Notify(524, none);
    device.positioner->recording = false;
    const auto reads = device.positioner->reads.size();
    for (auto _ : state)
        view.Updates().Notify(524, none);
    state.counters["per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    state.counters["reads"] = static_cast<double>(reads);
    settle();
}

// The floor: each parameter the notification reads, read once, straight from the device. What
// the shown page needs is read once; a layer that reads it again is ours to pay for.
void P3_Floor(benchmark::State& state)
{
    Device device;
    std::vector<com::BStr> reads;
    {
        HostedControl view(mainView(), device);
        device.positioner->recording = true;
        view.Updates().Notify(524, com::Variant());
        device.positioner->recording = false;
        for (const com::BStr& tag : device.positioner->reads)
            if (std::find(reads.begin(), reads.end(), tag) == reads.end())
                reads.push_back(tag);
    }
    device::IDtmUiEarlier* earlier = device.positioner.get();
    com::Variant value;
    for (auto _ : state)
        for (const com::BStr& tag : reads)
            benchmark::DoNotOptimize(earlier->GetParameter(tag, &value));
    state.counters["reads"] = static_cast<double>(reads.size());
}

// P7: what the main view with every page keeps allocated, against the same widgets in bare Qt,
// and what 10^6 notifications add to it. Counted as heap in use: in a process that has built
// and freed windows before, resident pages are reused and do not show what a window costs.
void P7_Memory(benchmark::State& state)
{
    const long notifications = Smoke() ? 10'000 : 1'000'000;
    const WidgetTree& picture = allPagesPicture();
    settle();
    for (auto _ : state) {
        long before = heapInUseKb();
        auto device = std::make_unique<Device>();
        auto view = std::make_unique<HostedControl>(mainView(), *device);
        for (const QString& label : labels())
            view->Select(label);
        view->Select(labels().front());
        settle();
        const long ours = heapInUseKb() - before;
        const com::Variant none;
        long warmed = 0;
        long warmedRss = 0;
        for (long i = 1; i <= notifications; ++i) {
            view->Updates().Notify(524, none);
            if (i % 1000 == 0)
                QApplication::processEvents();
            if (i == notifications / 10) {
                warmed = heapInUseKb();
                warmedRss = residentKb();
            }
        }
        settle();
        state.counters["growth_kb"] = static_cast<double>(heapInUseKb() - warmed);
        state.counters["rss_growth_kb"] = static_cast<double>(residentKb() - warmedRss);
        view.reset();
        device.reset();
        settle();

        before = heapInUseKb();
        std::unique_ptr<QWidget> root(picture.Build(nullptr));
        root->show();
        settle();
        const long floor = heapInUseKb() - before;
        root.reset();
        settle();
        state.counters["ours_kb"] = static_cast<double>(ours);
        state.counters["floor_kb"] = static_cast<double>(floor);
        state.counters["notifications"] = static_cast<double>(notifications);
    }
}

}  // namespace

void ReleaseModuleBenchmarks()
{
    everyPageView.reset();
    everyPageDevice.reset();
    settle();
}

void RegisterModuleBenchmarks(const QStringList& pageLabels)
{
    labels() = pageLabels;
    using benchmark::RegisterBenchmark;
    const auto ms = benchmark::kMillisecond;
    Steady(RegisterBenchmark("P1/ours", P1_InitToFirstPage), 9)->Unit(ms)->Iterations(SetUpIterations(10));
    Steady(RegisterBenchmark("P1/floor", P1_Floor), 9)->Unit(ms)->Iterations(SetUpIterations(10));
    for (int page = 0; page < pageLabels.size(); ++page) {
        const std::string name = std::to_string(page) + ":" + pageLabels[page].toStdString();
        // The overview is made by Init: its first creation is P1.
        if (page > 0) {
            Steady(RegisterBenchmark(("P2/first/" + name + "/ours").c_str(), P2_FirstCreation, page), 9)
                ->Unit(ms)
                ->Iterations(SetUpIterations(20));
            Steady(RegisterBenchmark(("P2/first/" + name + "/floor").c_str(), P2_Floor, page), 9)
                ->Unit(ms)
                ->Iterations(SetUpIterations(20));
        }
        RegisterBenchmark(("P2/again/" + name + "/ours").c_str(), P2_Reactivation, page)
            ->Unit(ms)
            ->Iterations(SetUpIterations(10));
    }
    // A notification takes about a microsecond: a tenth of a second holds enough of them.
    Steady(Timed(RegisterBenchmark("P3/ours", P3_Notification)), 15, 0.1)->Unit(benchmark::kMicrosecond);
    Steady(Timed(RegisterBenchmark("P3/floor", P3_Floor)), 15, 0.1)->Unit(benchmark::kMicrosecond);
    RegisterBenchmark("P7/memory", P7_Memory)->Iterations(1)->Unit(ms);
}

}  // namespace orvx::bench

// The benchmark program: each figure is a benchmark of ours beside its floor, measured in the
// same run; bench/table.py turns the JSON output into the table of ratios.
#include "Bench.h"
#include "Hosting.h"
#include "host/Guids.h"

#include <QApplication>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QStringList labels;
    {
        orvx::bench::Device device;
        orvx::bench::HostedControl view(orvx::host::CLSID_OrvxESDDTMGUIView, device);
        labels = view.PageLabels();
    }
    orvx::bench::RegisterModuleBenchmarks(labels);
    orvx::bench::RegisterLibraryBenchmarks();
    orvx::bench::RegisterDataFileBenchmarks();
    orvx::bench::RegisterHartBenchmarks();
    orvx::bench::RegisterLinkRefreshBenchmarks();
    orvx::bench::RegisterPlantViewBenchmarks();
    orvx::bench::RegisterStoreBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    orvx::bench::ReleaseModuleBenchmarks();
    orvx::bench::ReleaseDataFile();
    orvx::bench::ReleaseStore();
    benchmark::Shutdown();
    return 0;
}

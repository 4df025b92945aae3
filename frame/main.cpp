// orvx-frame: the plant's valves, and the module's controls over each, as an FDT frame would host
// them.
#include "FrameWindow.h"
#include "LinkedDevice.h"
#include "ModuleLoader.h"
#include "PlantList.h"
#include "PlantShots.h"
#include "PlantWindow.h"
#include "QtScheduler.h"
#include "SimulatedDevice.h"
#include "SimulatedPlant.h"
#include "host/Guids.h"
#include "platform/ui/Clock.h"
#include "simulator/SimulatedPositioner.h"
#include "store/PlantStore.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr char kModuleName[] = "libOrvxTarnelGUI.so";
// How long the program waits for a device before it opens its window all the same.
constexpr int kConnectWaitMs = 5000;

const char kUsage[] = "Usage: orvx-frame [--screenshots DIR | [--plant FILE] [--device ADDRESS [--psk FILE]]]\n"
                      "                  [--store STORE]\n"
                      "Shows the plant's ESD valves and hosts the Orvx ESD user interface over each:\n"
                      "a few simulated valve positioners, or a positioner reached by HART-IP or a\n"
                      "HART modem.\n"
                      "\n"
                      "  --screenshots DIR  render every page, a partial stroke test and the setup\n"
                      "                     pages to PNG files in DIR, then exit; needs no display\n"
                      "  --device ADDRESS   the positioner at hart-ip://HOST[:PORT][/POLL] (TCP),\n"
                      "                     hart-ip+udp://HOST[:PORT][/POLL], hart-ip+tls://HOST[:PORT][/POLL]\n"
                      "                     (TLS with a pre-shared key), or behind a HART modem at\n"
                      "                     serial:///dev/NAME[/POLL]; port 5094 and poll address 0\n"
                      "                     unless given\n"
                      "  --psk FILE         the key of a hart-ip+tls:// device: one line IDENTITY:HEXKEY\n"
                      "  --plant FILE       the devices of a saved plant list: an address a line, a\n"
                      "                     hart-ip+tls:// one followed by its key file\n"
                      "  --store STORE      the plant store every PST is kept in: sqlite:FILE or\n"
                      "                     postgresql://[USER@][HOST][:PORT]/DATABASE[?host=FOLDER];\n"
                      "                     by default $XDG_DATA_HOME/orvx/plant.sqlite for a device,\n"
                      "                     and a store of the run's own for the simulated valves\n"
                      "  -h, --help         show this help and exit\n"
                      "      --version      show the version and exit\n"
                      "\n"
                      "Environment:\n"
                      "  ORVX_REGISTRY_FILE  the component registry, where the module registers on\n"
                      "                      the first run (default $XDG_CONFIG_HOME/orvx/registry.reg,\n"
                      "                      else ~/.config/orvx/registry.reg)\n"
                      "  ORVX_RESOURCE_PATH  folders, separated by ':', searched for the icon store\n"
                      "                      BaseUiResources.rcc when it is not beside the module\n"
                      "  QT_QPA_PLATFORM     the Qt platform plugin, e.g. offscreen\n";

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString screenshots;
    std::string device;
    std::string keyFile;
    QString plantList;
    QString store;
    std::string error;
};

// The value of an option given as "--name VALUE" or "--name=VALUE"; empty when it has none,
// nothing when `arg` is another option.
std::optional<std::string_view> valueOf(std::string_view name, std::string_view arg, int& i, int argc, char** argv)
{
    if (arg == name)
        return i + 1 < argc ? std::string_view(argv[++i]) : std::string_view();
    if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    return std::nullopt;
}

CommandLine parse(int argc, char** argv)
{
    CommandLine line;
    auto fail = [&](std::string error) {
        line.action = CommandLine::Action::Error;
        line.error = std::move(error);
        return line;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            line.action = CommandLine::Action::Help;
        else if (arg == "--version")
            line.action = CommandLine::Action::Version;
        else if (const auto screenshots = valueOf("--screenshots", arg, i, argc, argv)) {
            if (screenshots->empty())
                return fail("option '--screenshots' needs a folder");
            line.screenshots = QString::fromLocal8Bit(screenshots->data(), static_cast<qsizetype>(screenshots->size()));
        } else if (const auto device = valueOf("--device", arg, i, argc, argv)) {
            if (device->empty())
                return fail("option '--device' needs an address");
            line.device = std::string(*device);
        } else if (const auto keyFile = valueOf("--psk", arg, i, argc, argv)) {
            if (keyFile->empty())
                return fail("option '--psk' needs a key file");
            line.keyFile = std::string(*keyFile);
        } else if (const auto plantList = valueOf("--plant", arg, i, argc, argv)) {
            if (plantList->empty())
                return fail("option '--plant' needs a plant list");
            line.plantList = QString::fromLocal8Bit(plantList->data(), static_cast<qsizetype>(plantList->size()));
        } else if (const auto store = valueOf("--store", arg, i, argc, argv)) {
            if (store->empty())
                return fail("option '--store' needs a store address");
            line.store = QString::fromLocal8Bit(store->data(), static_cast<qsizetype>(store->size()));
        } else if (arg.starts_with('-'))
            return fail("unknown option '" + std::string(arg) + "'");
        else
            return fail("unexpected argument '" + std::string(arg) + "'");
        if (line.action != CommandLine::Action::Run)
            return line;
    }
    if (!line.screenshots.isEmpty() && (!line.device.empty() || !line.plantList.isEmpty()))
        return fail("screenshots are taken of the simulated positioner, not of a device");
    if (!line.keyFile.empty() && line.device.empty())
        return fail("option '--psk' is the key of a --device hart-ip+tls://...");
    if (QString why; !line.store.isEmpty() && !orvx::store::parseStoreAddress(line.store, &why))
        return fail(why.toStdString());
    return line;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The module beside the program (a build tree), else in the folder it is installed to.
QString findModule(QStringList* tried)
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const QString& folder :
         {programFolder.path(), programFolder.filePath(QStringLiteral(ORVX_MODULE_DIR_FROM_BIN))}) {
        const QFileInfo file(QDir(folder).filePath(QLatin1String(kModuleName)));
        if (file.exists())
            return file.canonicalFilePath();
        tried->append(QDir::cleanPath(file.filePath()));
    }
    return {};
}

// Finds the module and registers it on the first run; false, the reason printed, when it cannot.
bool registerModule(orvx::frame::ModuleLoader& loader)
{
    QStringList tried;
    const QString module = findModule(&tried);
    if (module.isEmpty()) {
        std::fprintf(stderr, "orvx-frame: %s is in none of %s\n", kModuleName,
                     qPrintable(tried.join(QStringLiteral(", "))));
        return false;
    }
    if (const QString error = loader.EnsureRegistered(orvx::host::CLSID_OrvxESDDTMGUIView, module); !error.isEmpty()) {
        std::fprintf(stderr, "orvx-frame: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

// The store PSTs are kept in: the one the user named, else for a device the user's own, for the
// simulated valves one of this run in `runFolder`. Null with the reason when it cannot be opened.
std::unique_ptr<orvx::store::PlantStore> openStore(const QString& named, bool simulated, const QTemporaryDir& runFolder,
                                                   QString* problem)
{
    std::optional<orvx::store::StoreAddress> address;
    if (!named.isEmpty())
        address = orvx::store::parseStoreAddress(named, problem);
    else if (simulated && runFolder.isValid())
        address = orvx::store::parseStoreAddress(
            QStringLiteral("sqlite:%1").arg(runFolder.filePath(QStringLiteral("plant.sqlite"))), problem);
    else if (!simulated)
        address = orvx::store::defaultStoreAddress();
    else
        *problem = QStringLiteral("no temporary folder for the simulated plant's store");
    return address ? orvx::store::PlantStore::open(*address, problem) : nullptr;
}

// The plant pictured, then every page of the first valve; 1 when any went wrong.
int writeScreenshots(orvx::frame::PlantWindow& plant, orvx::simulator::SimulatedPositioner& first,
                     orvx::frame::ModuleLoader& loader, orvx::frame::QtScheduler& scheduler, const QString& folder)
{
    QStringList errors;
    int written = orvx::frame::writePlantShots(plant, folder, &errors);
    plant.hide();
    // The valve's own pictures read its history from the data file they write, not the store.
    qputenv("ORVX_PLANT_STORE", QByteArray());
    {
        orvx::frame::FrameWindow window(loader, first, &scheduler);
        written += window.WriteScreenshots(folder, &errors);
    }
    for (const QString& error : errors)
        std::fprintf(stderr, "orvx-frame: %s\n", qPrintable(error));
    std::printf("orvx-frame: %d screenshots in %s\n", written, qPrintable(folder));
    return errors.isEmpty() ? 0 : 1;
}

// The plant window, until the user closes it.
int show(orvx::frame::PlantWindow& window, QApplication& app)
{
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    // The options are handled before Qt starts, so that --help works without a display.
    const CommandLine options = parse(argc, argv);
    switch (options.action) {
    case CommandLine::Action::Help: std::fputs(kUsage, stdout); return 0;
    case CommandLine::Action::Version: std::printf("orvx-frame %s\n", ORVX_VERSION); return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "orvx-frame: %s\nTry 'orvx-frame --help'.\n", options.error.c_str());
        return 2;
    case CommandLine::Action::Run: break;
    }
    const QString& screenshots = options.screenshots;
    std::unique_ptr<orvx::frame::LinkedDevice> linked;
    if (!options.device.empty()) {
        std::string error;
        linked = orvx::frame::LinkedDevice::Make(options.device, error, options.keyFile);
        if (!linked) {
            std::fprintf(stderr, "orvx-frame: %s\nTry 'orvx-frame --help'.\n", error.c_str());
            return 2;
        }
    }
    // A list that cannot be read is bad usage, told before any window.
    std::optional<QList<orvx::frame::ListedDevice>> listed;
    if (!options.plantList.isEmpty()) {
        QString error;
        listed = orvx::frame::readPlantList(options.plantList, &error);
        if (!listed) {
            std::fprintf(stderr, "orvx-frame: %s\n", qPrintable(error));
            return 2;
        }
    }
    const bool simulatedPlant = !linked && !listed;
    if (!screenshots.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (screenshots.isEmpty() && !hasDisplay()) {
        std::fprintf(stderr,
                     "orvx-frame: there is no display to open a window on.\n"
                     "  Run it on a desktop, or\n"
                     "  orvx-frame --screenshots DIR   every page rendered to PNG files\n"
                     "  scripts/run --vnc              in the source tree: a virtual display you reach with a VNC "
                     "viewer on 127.0.0.1:5900 only\n");
        return 2;
    }

    QApplication app(argc, argv);
    orvx::frame::ModuleLoader loader;
    if (!registerModule(loader))
        return 1;

    // Screenshots need not wait for the device in real time.
    orvx::frame::QtScheduler scheduler(screenshots.isEmpty() ? 1.0 : 4.0);
    QString storeProblem;
    QTemporaryDir runStore;  // the simulated plant's, unless the user names one
    std::unique_ptr<orvx::store::PlantStore> store = openStore(options.store, simulatedPlant, runStore, &storeProblem);
    orvx::frame::SimulatedPlant simulated(scheduler);
    if (store && options.store.isEmpty() && simulatedPlant)
        storeProblem = simulated.Seed(*store, orvx::ui::currentDateTime().toUTC());
    if (linked) {
        linked->Connect();
        if (!linked->WaitConnected(kConnectWaitMs))
            std::fprintf(stderr, "orvx-frame: %s; trying again\n", qPrintable(linked->Status()));
    }
    int status = 0;
    {
        orvx::frame::PlantWindow plant(loader, std::move(store), storeProblem);
        if (listed) {
            for (const QString& problem : plant.AddListed(*listed, options.plantList))
                std::fprintf(stderr, "orvx-frame: %s\n", qPrintable(problem));
        }
        if (linked)
            plant.AddValve(std::move(linked));
        if (simulatedPlant) {
            for (std::size_t i = 0; i < simulated.Size(); ++i)
                plant.AddValve(std::make_unique<orvx::frame::SimulatedDevice>(simulated.Valve(i)),
                               i == 0 ? &scheduler : nullptr);
        }
        status = screenshots.isEmpty() ? show(plant, app)
                                       : writeScreenshots(plant, simulated.Valve(0), loader, scheduler, screenshots);
    }
    return status;
}

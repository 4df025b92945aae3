// The real module, loaded as a frame loads it: through the registry and its entry points.
#include "diagnostics/NvEsdDataFileSvr.h"
#include "frame/DiagnosticShots.h"
#include "frame/FrameWindow.h"
#include "frame/HostedControl.h"
#include "frame/LiveShots.h"
#include "frame/ModuleLoader.h"
#include "frame/QtScheduler.h"
#include "frame/ShotWriter.h"
#include "host/Guids.h"
#include "platform/com/ComObject.h"
#include "platform/com/RegistryStore.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <vector>

using namespace orvx;

namespace {

using Entry = std::int32_t (*)();
using GetClassObject = std::int32_t (*)(const com::Guid&, const com::Guid&, void**);

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The pixels of a picture near a pure colour, as a chart draws its lines.
int pixelsNear(const QImage& image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 60 && std::abs(pixel.green() - colour.green()) < 60 &&
                std::abs(pixel.blue() - colour.blue()) < 60)
                ++count;
        }
    return count;
}

double meanLightness(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += image.pixelColor(x, y).lightness();
    return image.isNull() ? 0 : sum / (image.width() * image.height());
}

// The contrast of two colours as the accessibility guidelines reckon it, 1 (none) to 21.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The shown labels under 'root' whose text is hard to read on what is drawn behind them: the
// background of the nearest widget that fills its own, or of the window.
QStringList faintLabels(QWidget* root)
{
    QStringList faint;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        QWidget* behind = label;
        while (!behind->autoFillBackground() && !behind->isWindow())
            behind = behind->parentWidget();
        const QColor text = label->palette().color(label->foregroundRole());
        const QColor back = behind->palette().color(behind->backgroundRole());
        if (contrast(text, back) < 3.0)
            faint.append(QStringLiteral("%1 (%2 on %3)").arg(label->text(), text.name(), back.name()));
    }
    return faint;
}

class Module : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry = folder.filePath("registry.reg").toStdString();
        previous = qgetenv("ORVX_REGISTRY_FILE");
        qputenv("ORVX_REGISTRY_FILE", QByteArray::fromStdString(registry));
        handle = dlopen(ORVX_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override { qputenv("ORVX_REGISTRY_FILE", previous); }

    template <class F>
    F entry(const char* name)
    {
        return reinterpret_cast<F>(dlsym(handle, name));
    }

    QTemporaryDir folder;
    std::string registry;
    QByteArray previous;
    void* handle = nullptr;
};

// Every key of the store ("[path]") and every value ("path|name=value"), paths as written.
std::set<std::string> contents(const com::RegistryStore& store, const std::string& path = {})
{
    std::set<std::string> all;
    if (!path.empty()) {
        all.insert("[" + path + "]");
        for (const std::string& name : store.valueNames(path))
            all.insert(path + "|" + name + "=" + store.value(path, name).value_or("(none)"));
    }
    for (const std::string& child : store.subkeys(path))
        all.merge(contents(store, path.empty() ? child : path + "\\" + child));
    return all;
}

// What registration adds: each value with every key above it, and the keys that carry no value.
std::set<std::string> registration(const std::string& modulePath)
{
    struct Value {
        std::string key, name, value;
    };
    struct Control {
        com::Guid clsid, iid;
        std::string progId, description, interfaceName, bitmap;
    };
    const std::string appId = host::APPID_OrvxTarnelGUI.toString();
    const std::string libId = host::LIBID_OrvxTarnelGUILib.toString();
    std::vector<Value> values{
        {"AppID\\" + appId, "", "OrvxTarnelGUI"},
        {"AppID\\OrvxTarnelGUI.DLL", "AppID", appId},
        {"TypeLib\\" + libId + "\\1.0", "", "OrvxTarnelGUI 1.0 Type Library"},
        {"TypeLib\\" + libId + "\\1.0\\0\\linux", "", modulePath},
    };
    std::vector<std::string> bareKeys;
    const Control controls[] = {
        {host::CLSID_OrvxESDDTMGUIView, host::IID_IOrvxESDDTMGUIView, "OrvxTarnelGUI.OrvxESDDTMGUIView",
         "OrvxESDDTMGUIView Class", "IOrvxESDDTMGUIView Interface", "102"},
        {host::CLSID_Offline, host::IID_IOffline, "OrvxTarnelGUI.Offline", "Offline Class", "IOffline Interface",
         "117"},
        {host::CLSID_Trend, host::IID_ITrend, "OrvxTarnelGUI.Trend", "Trend Class", "ITrend Interface", "111"},
        {host::CLSID_TAdress, host::IID_ITAdress, "OrvxTarnelGUI.TAdress", "TAdress Class", "ITAdress Interface",
         "114"},
    };
    for (const Control& c : controls) {
        const std::string clsid = c.clsid.toString();
        const std::string key = "CLSID\\" + clsid;
        const std::string versioned = c.progId + ".1";
        const std::string iface = "Interface\\" + c.iid.toString();
        values.insert(values.end(), {
                                        {c.progId, "", c.description},
                                        {c.progId + "\\CLSID", "", clsid},
                                        {c.progId + "\\CurVer", "", versioned},
                                        {versioned, "", c.description},
                                        {versioned + "\\CLSID", "", clsid},
                                        {key, "", c.description},
                                        {key, "AppID", appId},
                                        {key + "\\ProgID", "", versioned},
                                        {key + "\\VersionIndependentProgID", "", c.progId},
                                        {key + "\\InprocServer32", "", modulePath},
                                        {key + "\\InprocServer32", "ThreadingModel", "Apartment"},
                                        {key + "\\ToolboxBitmap32", "", modulePath + "," + c.bitmap},
                                        {key + "\\MiscStatus", "", "0"},
                                        {key + "\\MiscStatus\\1", "", "131473"},
                                        {key + "\\TypeLib", "", libId},
                                        {key + "\\Version", "", "1.0"},
                                        {iface, "", c.interfaceName},
                                        {iface + "\\TypeLib", "", libId},
                                        {iface + "\\TypeLib", "Version", "1.0"},
                                    });
        bareKeys.push_back(key + "\\Programmable");
        bareKeys.push_back(key + "\\Control");
    }
    std::set<std::string> all;
    auto addKey = [&](const std::string& key) {
        for (std::size_t end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1))
            all.insert("[" + key.substr(0, end) + "]");
        all.insert("[" + key + "]");
    };
    for (const Value& v : values) {
        addKey(v.key);
        all.insert(v.key + "|" + v.name + "=" + v.value);
    }
    for (const std::string& key : bareKeys)
        addKey(key);
    return all;
}

TEST_F(Module, RegistersExactlyItsEntriesAndUnregistersThemAll)
{
    // Stores a frame may have before the module registers: the shared roots stay, empty or not.
    const std::vector<std::pair<std::string, std::string>> otherComponent{
        {"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32", "/other/component.so"},
        {"Interface\\{00000000-0000-0000-0000-000000000002}", "IOther"},
        {"TypeLib\\{00000000-0000-0000-0000-000000000003}\\1.0", "Other 1.0 Type Library"},
    };
    const struct {
        const char* label;
        std::vector<std::string> emptyKeys;
        bool withOtherComponent;
    } stores[] = {
        {"empty shared roots", {"CLSID", "AppID"}, false},
        {"another component and an empty AppID root", {"AppID"}, true},
        {"another component, no AppID root", {}, true},
    };
    for (const auto& start : stores) {
        SCOPED_TRACE(start.label);
        std::set<std::string> before;
        {
            std::filesystem::remove(registry);
            com::RegistryStore store(registry);
            for (const std::string& key : start.emptyKeys)
                store.createKey(key);
            if (start.withOtherComponent)
                for (const auto& [key, value] : otherComponent)
                    store.setValue(key, "", value);
            ASSERT_TRUE(store.save());
            before = contents(store);
        }
        const std::string file = fileText(registry);

        ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
        com::RegistryStore store(registry);
        ASSERT_TRUE(store.load());
        const std::set<std::string> registered = contents(store);
        std::set<std::string> added;
        std::ranges::set_difference(registered, before, std::inserter(added, added.end()));
        std::set<std::string> missing, extra;
        const std::set<std::string> expected = registration(ORVX_MODULE_FILE);
        std::ranges::set_difference(expected, registered, std::inserter(missing, missing.end()));
        std::ranges::set_difference(added, expected, std::inserter(extra, extra.end()));
        for (const std::string& line : missing)
            ADD_FAILURE() << "not registered: " << line;
        for (const std::string& line : extra)
            ADD_FAILURE() << "registered beyond the module's entries: " << line;
        EXPECT_TRUE(std::ranges::includes(registered, before)) << "registration changed another entry";

        ASSERT_EQ(entry<Entry>("DllUnregisterServer")(), 0);
        ASSERT_TRUE(store.load());
        std::set<std::string> after = before;
        after.insert({"[AppID]", "[CLSID]"});
        EXPECT_EQ(contents(store), after) << "all of the module's entries go, the shared roots stay";
        if (after == before) {
            EXPECT_EQ(fileText(registry), file) << "a store that held the shared roots is as it was, byte for byte";
        }
    }
}

TEST_F(Module, StaysLoadedWhileAnObjectOrALockIsAlive)
{
    const auto canUnload = entry<Entry>("DllCanUnloadNow");
    EXPECT_EQ(canUnload(), 0);
    void* raw = nullptr;
    ASSERT_EQ(entry<GetClassObject>("DllGetClassObject")(host::CLSID_TAdress, com::IClassFactory::iid, &raw), 0);
    auto factory = com::ComPtr<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    EXPECT_EQ(canUnload(), 1) << "a class factory is alive";
    factory->LockServer(true);
    factory.reset();
    EXPECT_EQ(canUnload(), 1) << "locked";
    raw = nullptr;
    entry<GetClassObject>("DllGetClassObject")(host::CLSID_TAdress, com::IClassFactory::iid, &raw);
    factory = com::ComPtr<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    factory->LockServer(false);
    factory.reset();
    EXPECT_EQ(canUnload(), 0);
    EXPECT_NE(entry<GetClassObject>("DllGetClassObject")(host::IID_IUpdateUI, com::IClassFactory::iid, &raw), 0)
        << "an unknown class is not available";
}

// The frame registers the module it ships with: an installed program must not load the module
// of a build that registered itself in the same registry, nor fail on one since removed.
TEST_F(Module, TheFrameRegistersItsOwnModuleOverAnotherOne)
{
    const std::string key = "CLSID\\" + host::CLSID_OrvxESDDTMGUIView.toString() + "\\InprocServer32";
    const QString module = QFileInfo(QStringLiteral(ORVX_MODULE_FILE)).canonicalFilePath();
    const QString otherBuild = folder.filePath(QStringLiteral("other-build/libOrvxTarnelGUI.so"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(otherBuild).path()));
    QFile(otherBuild).open(QIODevice::WriteOnly);
    const struct {
        const char* label;
        QString registered;
        QString afterwards;
    } cases[] = {
        {"not registered", QString(), module},
        {"another build's module", otherBuild, module},
        {"a module since removed", folder.filePath(QStringLiteral("gone/libOrvxTarnelGUI.so")), module},
        // The same file by another name is left as it is.
        {"this module, named otherwise", QFileInfo(module).path() + QStringLiteral("/./libOrvxTarnelGUI.so"),
         QFileInfo(module).path() + QStringLiteral("/./libOrvxTarnelGUI.so")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(registry);
        if (!c.registered.isEmpty()) {
            com::RegistryStore store(registry);
            store.setValue(key, "", c.registered.toStdString());
            ASSERT_TRUE(store.save());
        }
        frame::ModuleLoader loader;
        EXPECT_EQ(loader.EnsureRegistered(host::CLSID_OrvxESDDTMGUIView, module), QString());
        EXPECT_EQ(frame::ModuleLoader::RegisteredModule(host::CLSID_OrvxESDDTMGUIView), c.afterwards);
    }
}

// Whoever can change the registry or the module can run code as the user and move the valve:
// like ssh with its keys, the frame refuses such files and says which and why.
TEST_F(Module, TheFrameRefusesARegistryOrModuleOtherUsersCanChange)
{
    const QString module = QFileInfo(QStringLiteral(ORVX_MODULE_FILE)).canonicalFilePath();
    frame::ModuleLoader loader;
    ASSERT_EQ(loader.EnsureRegistered(host::CLSID_OrvxESDDTMGUIView, module), QString());
    const QString registryFile = QString::fromStdString(registry);
    const QString shared = folder.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    const QString copy = shared + QStringLiteral("/libOrvxTarnelGUI.so");
    ASSERT_TRUE(QFile::copy(module, copy));
    const auto mode = [](const QString& file, QFile::Permissions permissions) {
        ASSERT_TRUE(QFile::setPermissions(file, permissions));
    };
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions folderOwner = owner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    // A refused copy of the module is never loaded; an accepted case loads the module itself.
    const struct {
        const char* label;
        QString file;
        QFile::Permissions permissions;
        QString module;
        QString refused;  // what the message must name; empty: accepted
    } cases[] = {
        {"registry writable by its group", registryFile, owner | QFile::WriteGroup, module, registryFile},
        {"registry writable by anyone", registryFile, owner | QFile::WriteOther, module, registryFile},
        {"registry the owner's alone", registryFile, owner, module, {}},
        {"module writable by anyone", copy, owner | QFile::WriteOther, copy, copy},
        {"module in a folder anyone may write", shared, folderOwner | QFile::WriteOther, copy, copy},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        mode(c.file, c.permissions);
        frame::ModuleLoader fresh;
        QString error = fresh.EnsureRegistered(host::CLSID_OrvxESDDTMGUIView, c.module);
        if (error.isEmpty())
            fresh.Create(host::CLSID_OrvxESDDTMGUIView, &error);
        if (c.refused.isEmpty()) {
            EXPECT_EQ(error, QString());
        } else {
            EXPECT_TRUE(error.contains(c.refused)) << error.toStdString();
            EXPECT_TRUE(error.contains(QLatin1String("other users"))) << error.toStdString();
        }
        mode(c.file, c.file == shared ? folderOwner : owner);
    }
}

TEST_F(Module, TheMainViewShowsTheDeviceAndChangesItsMode)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    device->SetPrivateDialogs(false);  // no box may wait for a user in a test
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        QWidget* window = online.Window();
        ASSERT_NE(window, nullptr);
        auto text = [&](int item) {
            auto* label = window->findChild<QLabel*>(QStringLiteral("item_%1").arg(item));
            return label ? label->text() : QStringLiteral("(none)");
        };
        com::Variant tag;
        device->GetParameter(com::BStr(u"1001"), &tag);
        EXPECT_EQ(text(203).toStdString(), tag.toText().toUtf8()) << "page 0 shows the device's tag";
        EXPECT_EQ(text(205), QStringLiteral("Normal"));

        auto* modeToSet = window->findChild<QComboBox*>(QStringLiteral("item_201"));
        auto* applyMode = window->findChild<QPushButton*>(QStringLiteral("item_202"));
        ASSERT_TRUE(modeToSet && applyMode);
        modeToSet->setCurrentIndex(1);
        emit modeToSet->activated(1);
        applyMode->click();
        EXPECT_FALSE(applyMode->isEnabled()) << "the change is on its way";
        scheduler.Advance(1000);
        EXPECT_EQ(text(205), QStringLiteral("Manual"));
        EXPECT_TRUE(applyMode->isEnabled());
        online.Release();
    }
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// In Manual mode a user drives the valve shut from Manual Setpoint: the simulated valve strokes at
// its own speed, the page stays locked until the device answers, and the other pages show the
// valve where it went.
TEST_F(Module, FullCloseStrokesTheValveShutAndGivesTheButtonsBack)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    device->SetPrivateDialogs(false);
    std::uint32_t word = 0;
    device->SetParameter(com::BStr(u"1005"), com::Variant::text(com::BStr(u"1")), &word);
    device->SetParameter(com::BStr(u"0"), com::Variant(), &word);
    scheduler.Advance(1000);
    device->SetInputSignal(20);  // the loop asks for open: only the hand drive may close it
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        parent.show();
        QWidget* window = online.Window();
        ASSERT_NE(window, nullptr);
        // The valve position as a page shows it in its value label.
        auto shownPosition = [&](const char* page, int item) {
            EXPECT_TRUE(frame::selectPage(window, QString::fromLatin1(page)));
            scheduler.Advance(500);  // the next live values
            for (auto* label : window->findChildren<QLabel*>(QStringLiteral("item_%1").arg(item)))
                if (label->isVisible())
                    return label->text().section(QLatin1Char(' '), 0, 0).toDouble();
            return -1.0;
        };
        const double before = shownPosition("Manual Setpoint", 218);
        EXPECT_GT(before, 10.0);
        QAbstractButton* fullClose = frame::visibleButton(window, 214);
        QAbstractButton* fullOpen = frame::visibleButton(window, 213);
        ASSERT_TRUE(fullClose && fullOpen);
        ASSERT_TRUE(fullClose->isEnabled());
        fullClose->click();
        scheduler.Advance(1000);
        EXPECT_FALSE(fullOpen->isEnabled()) << "locked while the valve travels";
        const double underway = shownPosition("Manual Setpoint", 218);
        EXPECT_LT(underway, before);
        EXPECT_GT(underway, 0.5);
        scheduler.Advance(15'000);
        EXPECT_TRUE(fullOpen->isEnabled()) << "515 gives the buttons back";
        EXPECT_TRUE(fullClose->isEnabled());
        EXPECT_NEAR(shownPosition("Manual Setpoint", 218), 0.0, 0.5);
        EXPECT_NEAR(shownPosition("Orvx ESD HART", 236), 0.0, 0.5);
        EXPECT_NEAR(shownPosition("Commission Service", 222), 0.0, 0.5);
        online.Release();
    }
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// A user runs a PST on the Diagnostics page, reads its summary, views its signature, saves it
// into a data file and loads it back, all in the module's own windows.
TEST_F(Module, APstIsGradedShownSavedAndLoadedBack)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    // The windows run their own event loops: the device needs a clock of its own, here four times
    // as fast as the wall clock.
    frame::QtScheduler scheduler(4.0);
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    QTemporaryDir folder;
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        parent.show();  // the script works only what a user could see
        QStringList errors;
        EXPECT_EQ(frame::writeDiagnosticShots(online.Window(), folder.path(), &errors), 5);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        online.Release();
    }
    diagnostics::CNvEsdDataFileSvr file;
    ASSERT_FALSE(file.OpenFile(folder.filePath(QStringLiteral("simulated-pst.dgn")), diagnostics::OpenPurpose::Load));
    const QList<diagnostics::RecordKey> keys = file.ListRecords();
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0].kind, QLatin1String("PST"));
    const auto record = file.ReadRecord(keys[0]);
    ASSERT_TRUE(record.has_value());
    const auto count = [&](const char16_t* tag) {
        com::Variant value;
        device->GetParameter(com::BStr(tag), &value);
        return value.toInt32();
    };
    EXPECT_EQ(record->curve1.Count(), count(u"16048")) << "the exhaust stroke as the device recorded it";
    EXPECT_EQ(record->curve2.Count(), count(u"16049") - count(u"16048"));
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// The screenshot run strokes the valve before its first picture, pictures every page of the tree
// once and the overview in a dark palette, and leaves the application as it found it.
TEST_F(Module, TheScreenshotRunShowsAMovingValveAndEveryPage)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    frame::QtScheduler scheduler(4.0);
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    const auto number = [&](const char16_t* tag) {
        com::Variant value;
        device->GetParameter(com::BStr(tag), &value);
        return std::stod(value.toText().toUtf8());
    };
    const QPalette palette = QApplication::palette();
    const QString style = QApplication::style()->name();
    QTemporaryDir shots;
    {
        frame::ModuleLoader loader;
        frame::FrameWindow window(loader, *device, &scheduler);
        QStringList errors;
        const int written = window.WriteScreenshots(shots.path(), &errors);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        const QStringList pictures = QDir(shots.path()).entryList({QStringLiteral("*.png")});
        EXPECT_EQ(written, pictures.size());

        auto* tabs = window.findChild<QTabWidget*>();
        ASSERT_NE(tabs, nullptr);
        std::map<QString, QWidget*> controls;
        for (int i = 0; i < tabs->count(); ++i)
            controls[tabs->tabText(i)] = tabs->widget(i);
        ASSERT_TRUE(controls.contains(QStringLiteral("Online")) && controls.contains(QStringLiteral("Trend")));
        auto* tree = controls[QStringLiteral("Online")]->findChild<QTreeWidget*>();
        ASSERT_NE(tree, nullptr);
        int pages = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ++pages;
        EXPECT_EQ(pictures.filter(QRegularExpression(QStringLiteral("^online-\\d\\d-"))).size(), pages);

        // The trend drew the stroke: the signal in blue, the pressure in red.
        auto* chart = controls[QStringLiteral("Trend")]->findChild<QWidget*>(QStringLiteral("item_211"));
        ASSERT_NE(chart, nullptr);
        const QImage trend = chart->grab().toImage();
        EXPECT_GT(pixelsNear(trend, Qt::blue), 50);
        EXPECT_GT(pixelsNear(trend, Qt::red), 50);
    }
    EXPECT_NE(number(u"2000"), 12.0) << "the loop signal stroked the valve";
    EXPECT_LT(number(u"2003"), 0.5) << "Full Close drove the valve shut by hand";

    // The overview twice, light and then dark.
    const QDir folder(shots.path());
    const QStringList overview = folder.entryList({QStringLiteral("online-00-*.png")});
    ASSERT_EQ(overview.size(), 1);
    EXPECT_GT(meanLightness(QImage(folder.filePath(overview[0]))), 180);
    const QImage dark(folder.filePath(QStringLiteral("dark-overview.png")));
    ASSERT_FALSE(dark.isNull());
    EXPECT_LT(meanLightness(dark), 110);
    EXPECT_EQ(QApplication::palette(), palette);
    EXPECT_EQ(QApplication::style()->name(), style);
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// In a dark palette every label of the overview stays readable, the identification area's too,
// which keeps its white background with dark text of its own.
TEST_F(Module, TheOverviewIsReadableInADarkPalette)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device);
    ASSERT_EQ(window.Open(frame::FrameWindow::Control::Online), QString());
    window.show();
    {
        const frame::ScopedPalette dark(frame::darkPalette());
        QCoreApplication::processEvents();
        EXPECT_EQ(faintLabels(&window).join(QLatin1String("; ")).toStdString(), "");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(faintLabels(&window).join(QLatin1String("; ")).toStdString(), "") << "in the palette from before";
    window.close();
    entry<Entry>("DllUnregisterServer")();
}

// The frame's Simulate menu switches the simulated faults; the status bar names each one in force.
TEST(Frame, SimulatedFaultsAreSwitchedFromTheMenuAndNamedInTheStatusBar)
{
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device);
    std::map<QString, QAction*> actions;
    for (QAction* menu : window.menuBar()->actions())
        if (menu->text() == QLatin1String("&Simulate"))
            for (QAction* action : menu->menu()->actions())
                if (action->isCheckable())  // the faults; the PST history entry is no switch
                    actions[action->text()] = action;
    ASSERT_EQ(actions.size(), std::size(simulator::kSimulatedFaults));
    auto* label = window.findChild<QLabel*>(QStringLiteral("simulatedFaults"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isHidden());

    actions.at(QStringLiteral("Air leak"))->trigger();
    actions.at(QStringLiteral("Sticking valve"))->trigger();
    actions.at(QStringLiteral("ESD trip"))->trigger();
    EXPECT_EQ(label->text(), QStringLiteral("Simulated faults: sticking valve, air leak, ESD trip"));
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(device->ActiveFaults(),
              (std::vector{simulator::SimulatedFault::StickingValve, simulator::SimulatedFault::AirLeak,
                           simulator::SimulatedFault::EsdTrip}));
    com::Variant tripped;
    device->GetParameter(com::BStr(u"2012"), &tripped);
    EXPECT_EQ(tripped.toText().toUtf8(), "1");

    for (const char* name : {"Air leak", "Sticking valve", "ESD trip"})
        actions.at(QString::fromLatin1(name))->trigger();
    EXPECT_TRUE(device->ActiveFaults().empty());
    EXPECT_TRUE(label->isHidden());
}

// The status bar names the command the device runs and how long it has run, in device time.
TEST(Frame, TheRunningCommandAndItsTimeShowInTheStatusBar)
{
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device);
    auto* label = window.findChild<QLabel*>(QStringLiteral("runningOperation"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isHidden());
    const auto send = [&](const char16_t* tag, const char16_t* value = nullptr) {
        std::uint32_t word = 0;
        return device->SetParameter(com::BStr(tag), value ? com::Variant::text(com::BStr(value)) : com::Variant(),
                                    &word);
    };
    ASSERT_EQ(send(u"1005", u"0"), com::Status::Ok);
    ASSERT_EQ(send(u"0"), com::Status::Ok);
    scheduler.Advance(300);
    ASSERT_EQ(send(u"8"), com::Status::Ok);
    scheduler.Advance(12'400);
    window.ShowOperation();
    EXPECT_EQ(label->text(), QStringLiteral("Find stops running: 12 s"));
    EXPECT_FALSE(label->isHidden());
    scheduler.Advance(60'000);
    window.ShowOperation();
    EXPECT_TRUE(label->isHidden());
}

// On the device's own clock the status bar follows the device as soon as a command ends, before
// anything else runs: a picture taken once the valve has arrived shows nothing running.
TEST(Frame, TheStatusBarShowsACommandEndedAsSoonAsItEnds)
{
    frame::QtScheduler scheduler(100.0);
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device, &scheduler);
    auto* label = window.findChild<QLabel*>(QStringLiteral("runningOperation"));
    ASSERT_NE(label, nullptr);
    std::uint32_t word = 0;
    ASSERT_EQ(device->SetParameter(com::BStr(u"3"), com::Variant(), &word), com::Status::Ok);  // a TBT, 1 s
    window.ShowOperation();
    EXPECT_TRUE(label->text().startsWith(QLatin1String("Terminal board test running: ")))
        << label->text().toStdString();
    ASSERT_TRUE(frame::waitFor([&] { return !device->RunningOperation(); }, 10000));
    EXPECT_TRUE(label->isHidden());
    EXPECT_TRUE(label->text().isEmpty()) << label->text().toStdString();
    device->Disconnect();
}

// A technician puts the positioner on a new valve with the setup wizard: identity written, stops
// found, loop tuned, configuration reset, each step on the simulated valve.
TEST_F(Module, TheSetupWizardCalibratesAndTunesTheValve)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    frame::QtScheduler scheduler(100.0);  // find stops and autotune take over a minute of device time
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    const auto read = [&](const char16_t* tag) {
        com::Variant value;
        device->GetParameter(com::BStr(tag), &value);
        return value.toText().toUtf8();
    };
    const auto waitFor = [](const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    };
    // To Setup mode, as the mode button would ask.
    device->SetParameter(com::BStr(u"1005"), com::Variant::text(com::BStr(u"0")), nullptr);
    device->SetParameter(com::BStr(u"0"), com::Variant(), nullptr);
    ASSERT_TRUE(waitFor([&] { return read(u"1000") == "0"; }));
    const std::string stopsBefore = read(u"13011");
    const std::string gainBefore = read(u"8000");

    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        parent.show();
        QWidget* window = online.Window();
        auto* tree = window->findChild<QTreeWidget*>();
        ASSERT_NE(tree, nullptr);
        const QList<QTreeWidgetItem*> entries = tree->findItems(QStringLiteral("Setup Wizard"), Qt::MatchRecursive);
        ASSERT_EQ(entries.size(), 1);
        tree->setCurrentItem(entries[0]);
        QCoreApplication::processEvents();
        const auto button = [&](int item) -> QPushButton* {
            for (auto* b : window->findChildren<QPushButton*>(QStringLiteral("item_%1").arg(item)))
                if (b->isVisible())
                    return b;
            return nullptr;
        };
        QPushButton* start = button(214);
        QPushButton* next = button(215);
        ASSERT_TRUE(start && next);
        start->click();
        std::string stopsFound;
        std::string gainTuned;
        for (int step = 1; step <= 4; ++step) {
            SCOPED_TRACE(step);
            ASSERT_TRUE(waitFor([&] { return next->isEnabled(); }));
            next->click();
            // Each step ends with Continue ready for the next, the last with Start ready again.
            QPushButton* ready = step < 4 ? next : start;
            ASSERT_TRUE(waitFor([&] { return !device->RunningOperation() && ready->isEnabled(); }));
            if (step == 2)
                stopsFound = read(u"13011");
            if (step == 3)
                gainTuned = read(u"8000");
        }
        ASSERT_TRUE(waitFor([&] {
            auto* status = window->findChild<QLabel*>(QStringLiteral("item_247"));
            return status && status->isVisible() && status->text().contains(QLatin1String("Reset completed."));
        }));
        EXPECT_NE(stopsFound, stopsBefore) << "find stops stored the valve's stops";
        EXPECT_NE(gainTuned, gainBefore) << "autotune changed the loop's gain";
        online.Release();
    }
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

}  // namespace

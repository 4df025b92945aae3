// Whole operations through the HART link: orvx-hart-device in its own process, its devices' time
// running fast, the module in this one, as orvx-frame --device hosts them. The device server's
// journal says what reached the device, whatever this process believes it sent.
#include "ModuleFixture.h"
#include "device/IDtmUiEarlier.h"
#include "diagnostics/NvEsdDataFileSvr.h"
#include "frame/DiagnosticShots.h"
#include "frame/HostedControl.h"
#include "frame/LinkedDevice.h"
#include "frame/ModuleLoader.h"
#include "frame/ShotWriter.h"
#include "hart/DeviceProcess.h"
#include "hart/SerialPair.h"
#include "hart/link/HartIpTransport.h"
#include "hart/link/HartMaster.h"
#include "host/Guids.h"
#include "platform/com/ComPtr.h"
#include "support/Campaign.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <random>

using namespace orvx;

namespace {

// Closes every window that opens modally, for as long as it lives: whatever a walk starts may
// open one after the walk ended, when the device answers.
class ModalCloser {
public:
    ModalCloser()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
            else if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

// How the module reaches orvx-hart-device.
enum class Link { Tcp, Udp, Serial };

std::string linkName(Link link)
{
    switch (link) {
    case Link::Tcp: return "Tcp";
    case Link::Udp: return "Udp";
    case Link::Serial: return "Serial";
    }
    return "";
}

class LinkedModule : public test::Module, public ::testing::WithParamInterface<Link> {
protected:
    void connect(unsigned speed)
    {
        ASSERT_EQ(entry<test::Entry>("DllRegisterServer")(), 0);
        m_journal = folder.filePath(QStringLiteral("journal.txt"));
        std::vector<std::string> arguments{
            "--port", "0", "--speed", std::to_string(speed), "--journal", m_journal.toStdString()};
        if (GetParam() == Link::Serial) {
            m_line = std::make_unique<hart::test::SerialPair>();
            if (!m_line->ready())
                GTEST_SKIP() << "socat is not installed";
            arguments.insert(arguments.end(), {"--serial", m_line->deviceEnd()});
        }
        m_server = std::make_unique<hart::test::DeviceProcess>(arguments);
        ASSERT_NE(m_server->port(), 0);
        const std::string port = std::to_string(m_server->port());
        const std::string address = GetParam() == Link::Tcp   ? "hart-ip://127.0.0.1:" + port
                                    : GetParam() == Link::Udp ? "hart-ip+udp://127.0.0.1:" + port
                                                              : "serial://" + m_line->masterEnd() + "/0";
        std::string error;
        m_address = address;
        m_device = frame::LinkedDevice::Make(address, error);
        ASSERT_TRUE(m_device) << error;
        m_device->SetPrivateDialogs(false);  // no box may wait for a user in a test
        m_device->Connect();
        ASSERT_TRUE(m_device->WaitConnected(8000)) << m_device->Status().toStdString();
        m_parent.resize(1000, 700);
        m_online = std::make_unique<frame::HostedControl>(m_loader, host::CLSID_OrvxESDDTMGUIView,
                                                          QStringLiteral("e2e-link"));
        ASSERT_EQ(m_online->Start(&m_parent, m_device->BusinessObject()), QString());
        m_parent.show();  // the scripts work only what a user could see
    }
    void TearDown() override
    {
        if (m_online)
            m_online->Release();
        m_online.reset();
        m_device.reset();
        m_closer.reset();
        entry<test::Entry>("DllUnregisterServer")();
        Module::TearDown();
    }
    // The commands that may change the device, in the order the device heard them.
    QStringList journal() const
    {
        QFile file(m_journal);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    std::string read(const char16_t* tag)
    {
        com::Variant value;
        com::queryInterface<device::IDtmUiEarlier>(m_device->BusinessObject())->GetParameter(com::BStr(tag), &value);
        return value.toText().toUtf8();
    }

    QString m_journal;
    std::string m_address;
    std::unique_ptr<hart::test::SerialPair> m_line;
    std::unique_ptr<hart::test::DeviceProcess> m_server;
    std::unique_ptr<frame::LinkedDevice> m_device;
    frame::ModuleLoader m_loader;
    QWidget m_parent;
    std::unique_ptr<frame::HostedControl> m_online;
    std::unique_ptr<ModalCloser> m_closer;  // for the tests whose windows no script answers
};

// The PST runs in the device, its signature travels in segments, and the summary, the graph and
// the data file show the curves as the device recorded them.
TEST_P(LinkedModule, APstIsGradedShownSavedAndLoadedBack)
{
    ASSERT_NO_FATAL_FAILURE(connect(8));
    if (IsSkipped())
        return;
    QStringList errors;
    EXPECT_EQ(frame::writeDiagnosticShots(m_online->Window(), folder.path(), &errors), 5);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    diagnostics::CNvEsdDataFileSvr file;
    ASSERT_FALSE(file.OpenFile(folder.filePath(QStringLiteral("simulated-pst.dgn")), diagnostics::OpenPurpose::Load));
    const QList<diagnostics::RecordKey> keys = file.ListRecords();
    ASSERT_EQ(keys.size(), 1);
    const auto record = file.ReadRecord(keys[0]);
    ASSERT_TRUE(record.has_value());
    const int exhaust = std::stoi(read(u"16048"));
    EXPECT_GT(exhaust, 0);
    EXPECT_EQ(record->curve1.Count(), exhaust) << "the exhaust stroke as the device recorded it";
    EXPECT_EQ(record->curve2.Count(), std::stoi(read(u"16049")) - exhaust);
    EXPECT_TRUE(journal().contains(QStringLiteral("command 130 data 04"))) << journal().join(' ').toStdString();
}

// A technician puts the positioner on a new valve with the setup wizard, through the link: the
// stops found and the loop tuned in the device, each step's end read back from it.
TEST_P(LinkedModule, TheSetupWizardCalibratesAndTunesTheValve)
{
    ASSERT_NO_FATAL_FAILURE(connect(100));  // find stops and autotune take over a minute of device time
    if (IsSkipped())
        return;
    const auto bo = com::queryInterface<device::IDtmUiEarlier>(m_device->BusinessObject());
    ASSERT_EQ(bo->SetParameter(com::BStr(u"1005"), com::Variant::text(com::BStr(u"0")), nullptr), com::Status::Ok);
    ASSERT_EQ(bo->SetParameter(com::BStr(u"0"), com::Variant(), nullptr), com::Status::Ok);
    ASSERT_TRUE(frame::waitFor([&] { return read(u"1000") == "0"; }, 10000)) << "the device went to Setup";
    const std::string stopsBefore = read(u"13011");
    const std::string gainBefore = read(u"8000");

    QWidget* window = m_online->Window();
    ASSERT_TRUE(frame::selectPage(window, QStringLiteral("Setup Wizard")));
    QAbstractButton* start = frame::visibleButton(window, 214);
    QAbstractButton* next = frame::visibleButton(window, 215);
    ASSERT_TRUE(start && next);
    start->click();
    std::string stopsFound;
    std::string gainTuned;
    for (int step = 1; step <= 4; ++step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(frame::waitFor([&] { return next->isEnabled(); }, 20000));
        next->click();
        QAbstractButton* ready = step < 4 ? next : start;  // the last step gives Start back
        ASSERT_TRUE(frame::waitFor([&] { return ready->isEnabled(); }, 20000));
        if (step == 2)
            stopsFound = read(u"13011");
        if (step == 3)
            gainTuned = read(u"8000");
    }
    EXPECT_NE(stopsFound, stopsBefore) << "find stops stored the valve's stops";
    EXPECT_NE(gainTuned, gainBefore) << "autotune changed the loop's gain";
}

// The address control changes the device's polling address through the link: the device then
// answers command 0 at the new address and no longer at the old one, while the link, which
// speaks to the device's long address, goes on.
TEST_P(LinkedModule, TheAddressControlMovesTheDeviceToAnotherPollAddress)
{
    ASSERT_NO_FATAL_FAILURE(connect(1));
    if (IsSkipped())
        return;
    frame::HostedControl panel(m_loader, host::CLSID_TAdress, QStringLiteral("e2e-address"));
    ASSERT_EQ(panel.Start(&m_parent, m_device->BusinessObject()), QString());
    auto* list = panel.Window()->findChild<QComboBox*>(QStringLiteral("item_350"));
    auto* apply = panel.Window()->findChild<QPushButton*>(QStringLiteral("item_213"));
    ASSERT_TRUE(list && apply);
    EXPECT_EQ(list->currentIndex(), 0);
    list->setCurrentIndex(5);
    emit list->activated(5);
    ASSERT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_TRUE(frame::waitFor([&] { return read(u"1010") == "5"; }, 8000)) << read(u"1010");
    panel.Release();
    if (GetParam() == Link::Serial)
        return;  // the line is the link's: a second master on it is another test

    hart::Endpoint endpoint = hart::parseEndpoint(m_address).value();
    hart::HartIpTransport transport(endpoint);
    std::string error;
    ASSERT_TRUE(transport.open(error)) << error;
    hart::HartMaster master(transport, 1, 300);
    // The device takes the address once the command that sends it has run, in the device's time.
    EXPECT_TRUE(frame::waitFor([&] { return static_cast<bool>(master.identify(5)); }, 10000))
        << "the device answers at the new address";
    EXPECT_FALSE(master.identify(0)) << "and no longer at the old one";
    EXPECT_EQ(read(u"1001"), "PV-101") << "the link goes on";
}

// One thing a user might do on the shown page: press a button, type into a field, step a choice.
void act(QWidget& page, std::mt19937& random)
{
    const auto pick = [&](qsizetype size) { return std::uniform_int_distribution<qsizetype>(0, size - 1)(random); };
    switch (random() % 3) {
    case 0: {
        QList<QAbstractButton*> buttons = page.findChildren<QAbstractButton*>();
        buttons.removeIf([](const QAbstractButton* button) { return !button->isVisible() || !button->isEnabled(); });
        if (!buttons.isEmpty())
            buttons[pick(buttons.size())]->click();
        break;
    }
    case 1: {
        const QList<QLineEdit*> edits = page.findChildren<QLineEdit*>();
        if (!edits.isEmpty()) {
            QLineEdit* edit = edits[pick(edits.size())];
            edit->setText(random() % 2 ? QStringLiteral("12.5") : QStringLiteral("3"));
            emit edit->editingFinished();
            emit edit->returnPressed();
        }
        break;
    }
    default: {
        const QList<QComboBox*> combos = page.findChildren<QComboBox*>();
        if (!combos.isEmpty()) {
            QComboBox* combo = combos[pick(combos.size())];
            if (combo->count() > 0) {
                const int index = static_cast<int>(pick(combo->count()));
                combo->setCurrentIndex(index);
                emit combo->activated(index);
            }
        }
        break;
    }
    }
}

// A user walks every page and works what is there.
int wander(QWidget* control, int actions, std::uint32_t seed)
{
    auto* tree = control->findChild<QTreeWidget*>();
    if (!tree)
        return 0;
    QList<QTreeWidgetItem*> pages = tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
    std::mt19937 random(seed);
    int done = 0;
    for (; done < actions && !pages.isEmpty(); ++done) {
        if (done % 10 == 0)
            tree->setCurrentItem(pages[static_cast<qsizetype>(random() % pages.size())]);
        act(*control, random);
        QCoreApplication::processEvents();
    }
    return done;
}

// The observer campaign through the link: nothing an observer does reaches the device as a
// write or a command. A maintenance user doing the same does reach it: the walk proves something.
TEST_P(LinkedModule, AnObserverWorkingEveryPageSendsTheDeviceNothing)
{
    ASSERT_NO_FATAL_FAILURE(connect(8));
    if (IsSkipped())
        return;
    m_closer = std::make_unique<ModalCloser>();
    m_device->SetUserLevel(u"observer");
    const int actions = test::campaignCount(400, 5000);
    const int walked = wander(m_online->Window(), actions, 20261207);
    frame::waitFor([] { return false; }, 500);  // anything on its way reaches the device
    test::reportCampaign("%d actions of an observer over %s, %lld commands that change the device", walked,
                         linkName(GetParam()).c_str(), static_cast<long long>(journal().size()));
    EXPECT_EQ(walked, actions);
    EXPECT_EQ(journal(), QStringList());

    m_device->SetUserLevel(u"maintenance");
    wander(m_online->Window(), actions, 20261207);
    frame::waitFor([] { return false; }, 500);
    EXPECT_GT(journal().size(), 0) << "a writer's walk reached the device";
}

INSTANTIATE_TEST_SUITE_P(Links, LinkedModule, ::testing::Values(Link::Tcp, Link::Udp, Link::Serial),
                         [](const auto& info) { return linkName(info.param); });

}  // namespace

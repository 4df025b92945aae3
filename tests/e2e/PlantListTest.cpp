// A saved list of the plant's devices: read, written, and its devices added to the plant window.
#include "frame/ModuleLoader.h"
#include "frame/PlantList.h"
#include "frame/PlantWindow.h"
#include "plant/PlantTableModel.h"
#include "plant/PlantView.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace orvx::frame {
namespace {

class PlantListTest : public ::testing::Test {
protected:
    QString write(const QByteArray& text)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return path;
    }
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("site.plant"));
};

TEST_F(PlantListTest, AListThatCannotBeReadIsNone)
{
    QString error;
    EXPECT_FALSE(readPlantList(folder.filePath(QStringLiteral("none.plant")), &error));
    EXPECT_TRUE(error.contains(QLatin1String("none.plant"))) << error.toStdString();
    write(QByteArray(2 << 20, 'x'));
    EXPECT_FALSE(readPlantList(path, &error));
    EXPECT_TRUE(error.contains(QLatin1String("at most"))) << error.toStdString();
}

TEST_F(PlantListTest, ReadsAnAddressALineWithAKeyFileAfterIt)
{
    write("# unit 4 ESD valves\n"
          "\n"
          "hart-ip://gw.plant/1   # the feed valve\n"
          "  hart-ip+tls://gw.plant/2 /etc/orvx/keys/unit 4.psk\r\n"
          "serial:///dev/ttyUSB0/3");
    QString error;
    const auto devices = readPlantList(path, &error);
    ASSERT_TRUE(devices) << error.toStdString();
    EXPECT_EQ(*devices, (QList<ListedDevice>{{QStringLiteral("hart-ip://gw.plant/1"), {}, 3},
                                             {QStringLiteral("hart-ip+tls://gw.plant/2"),
                                              QStringLiteral("/etc/orvx/keys/unit 4.psk"), 4},
                                             {QStringLiteral("serial:///dev/ttyUSB0/3"), {}, 5}}));

    ASSERT_EQ(writePlantList(path, *devices), QString());
    const auto again = readPlantList(path, &error);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::pair((*again)[i].address, (*again)[i].keyFile),
                  std::pair((*devices)[i].address, (*devices)[i].keyFile));
}

TEST_F(PlantListTest, AListThatCannotBeWrittenSaysWhyAndLeavesNothing)
{
    // A folder that is a file: no user, root neither, writes into it.
    write("hart-ip://gw.plant/1\n");
    const QString inside = path + QStringLiteral("/other.plant");
    const QString error = writePlantList(inside, {{QStringLiteral("hart-ip://other/2"), {}, 0}});
    EXPECT_TRUE(error.startsWith(inside)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(inside));
    QString readError;
    EXPECT_EQ(readPlantList(path, &readError)->front().address, QStringLiteral("hart-ip://gw.plant/1"));
}

TEST_F(PlantListTest, TheDevicesOfAListJoinThePlantAndABadLineIsNamed)
{
    ModuleLoader loader;
    PlantWindow window(loader, nullptr, QStringLiteral("none for the test"));
    write("hart-ip://127.0.0.1:1/4\nhttp://nowhere\nhart-ip+tls://127.0.0.1:1/5\n");
    QString error;
    const auto devices = readPlantList(path, &error);
    ASSERT_TRUE(devices);
    const QStringList problems = window.AddListed(*devices, path);
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[0].endsWith(QLatin1String("site.plant:2: 'http://nowhere': a device is hart-ip://HOST[:PORT]"
                                                   "[/POLL], hart-ip+udp://HOST[:PORT][/POLL], "
                                                   "hart-ip+tls://HOST[:PORT][/POLL] or serial:///DEVICE[/POLL]")))
        << problems[0].toStdString();
    EXPECT_TRUE(problems[1].contains(QLatin1String("site.plant:3: 'hart-ip+tls://127.0.0.1:1/5' is reached over TLS")))
        << problems[1].toStdString();
    ASSERT_EQ(window.View()->model()->rowCount(), 1);
    EXPECT_FALSE(window.View()->model()->rowAt(0).reachable) << "nothing listens there";
    EXPECT_EQ(window.Listed(), (QList<ListedDevice>{{QStringLiteral("hart-ip://127.0.0.1:1/4"), {}, 0}}));
}

}  // namespace
}  // namespace orvx::frame

#include "framework/StatusArea.h"
#include "framework/TextProvider.h"
#include "support/FakeBusinessObject.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>

using namespace orvx;
using framework::CStatusArea;
using framework::CTextProvider;

namespace {

TEST(StatusArea, StateDocumentsSetOnlyThePanesTheyName)
{
    struct Row {
        int code;
        const char* document;
        int pane;
        std::uint32_t icon;
        const char* text;
        const char* tip;
    };
    const Row rows[] = {
        {1, "<s state='Online'/>", 0, 5, "Connected", ""},
        {1, "<s state='Offline'/>", 0, 2, "Disconnected", ""},
        {1, "<s state='GoingOnline'/>", 0, 4, "", ""},
        {1, "<s state='online'/>", 0, 2, "Disconnected", ""},  // words are case-sensitive
        {1, "<s state='Online'", 0, 2, "Disconnected", ""},    // does not parse
        {2, "<s state='Online'/>", 0, 2, "Disconnected", ""},  // not the state document
        {1, "<s dataSetState='allDataLoaded'/>", 3, 0, "", "AllDataLoaded"},
        {1, "<s dataSetState='whatever'/>", 3, 0, "", "Default"},
        {1, "<s dataSetState='validModified'/>", 3, 31, "", "ValidModified"},
        {1, "<s dataSetState='' state='Online'/>", 3, 31, "", "ValidModified"},
        {1, "<s isCommunicating='1'/>", 1, 16, "", "Communication with device is in progress"},
        {1, "<s isCommunicating='true'/>", 1, 0, "", ""},
        {1, "<s isCommunicating='1'/>", 1, 16, "", "Communication with device is in progress"},
        {1, "<s isCommunicating='0'/>", 1, 0, "", ""},
        {1, "<s/>", 0, 5, "Connected", ""},
    };
    CTextProvider texts;
    CStatusArea area;
    area.SetTextProvider(&texts);
    for (const Row& row : rows) {
        area.OnUpdate(row.code, QString::fromUtf8(row.document));
        EXPECT_EQ(area.PaneIconId(row.pane), row.icon) << row.document;
        EXPECT_EQ(area.PaneText(row.pane).toStdString(), row.text) << row.document;
        EXPECT_EQ(area.PaneToolTip(row.pane).toStdString(), row.tip) << row.document;
    }
}

TEST(StatusArea, ShowsTheBusinessObjectsOwnTextsAlsoWhenSetBeforeTheBarExists)
{
    auto device = com::makeComObject<test::FakeBusinessObject>();
    device->texts = {{"UI_TEXT_0", "Verbunden"}};
    CTextProvider texts;
    texts.SetCurrentTextSource(device.get());
    CStatusArea area;
    area.SetTextProvider(&texts);
    area.SetConnectionState(framework::ConnectionOnline);
    area.SetDeviceStatus(4);

    QWidget parent;
    QStatusBar* bar = area.CreateWindow(&parent);
    EXPECT_EQ(bar->findChild<QWidget*>("pane_500")->findChild<QLabel*>("text")->text(), QStringLiteral("Verbunden"));
    EXPECT_EQ(bar->findChild<QWidget*>("pane_506")->toolTip(), QStringLiteral("Maintenance required"));
    area.SetDeviceStatus(9);  // no entry: the pane empties
    EXPECT_EQ(bar->findChild<QWidget*>("pane_506")->toolTip(), QString());
    EXPECT_EQ(area.PaneIconId(6), 0u);
}

}  // namespace

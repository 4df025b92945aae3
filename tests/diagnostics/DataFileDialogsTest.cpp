#include "DataFileFixture.h"
#include "diagnostics/DataFileDialogs.h"
#include "platform/ui/ModuleFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace orvx;
using namespace orvx::test;

namespace {

TEST_F(DataFile, SavingTwiceAppendsToOneVersionLine)
{
    m_dialogs.fileAnswers = {Path(), Path()};
    const DiagRecord record = pstRecord(QStringLiteral("FT:101"));
    EXPECT_TRUE(saveRecordToFile(record, nullptr));
    EXPECT_TRUE(saveRecordToFile(record, nullptr));
    EXPECT_FALSE(saveRecordToFile(record, nullptr));  // cancelled
    EXPECT_TRUE(m_dialogs.messages.isEmpty()) << m_dialogs.messageTexts().join('\n').toStdString();
    EXPECT_EQ(contents(Path()).count("OrvxESD.1"), 1);
    EXPECT_EQ(listed(Path()).size(), 2);

    ASSERT_EQ(m_dialogs.fileRequests.size(), 3);
    const ui::FileRequest& request = m_dialogs.fileRequests[0];
    EXPECT_EQ(request.mode, ui::FileMode::Save);
    EXPECT_EQ(request.filter, QStringLiteral("Orvx ESD Data Files (*.dgn);;All Files (*)"));
    EXPECT_EQ(request.folder, ui::moduleFolder());
    EXPECT_TRUE(request.suggestedName.startsWith(QStringLiteral("FT_101_20"))) << request.suggestedName.toStdString();
    EXPECT_TRUE(request.suggestedName.endsWith(QStringLiteral("_PST.dgn")));
}

TEST_F(DataFile, RefusesAFileOfAnotherVersionAndLeavesItAsItWas)
{
    append(Path("ours.dgn"), pstRecord());
    const QByteArray ours = contents(Path("ours.dgn"));
    const QByteArray others[] = {
        QByteArray(ours).replace("OrvxESD.1", "OrvxESD.2"),
        QByteArray(ours).replace("OrvxESD.1", "orvxESD.1"),
        QByteArray(ours).replace("OrvxESD.1, ", "OrvxESD.1 , "),
        "OrvxESD.1, 03/07/24 09:0",  // one byte short of a version line
        "Some other text file\r\n",
    };
    for (const QByteArray& other : others) {
        SCOPED_TRACE(other.constData());
        setContents(Path(), other);
        m_dialogs.messages.clear();
        m_dialogs.fileAnswers = {Path()};
        EXPECT_FALSE(saveRecordToFile(pstRecord(), nullptr));
        EXPECT_FALSE(openForReading(Path(), nullptr));
        ASSERT_EQ(m_dialogs.messages.size(), 2);
        for (const ui::MessageRequest& message : m_dialogs.messages) {
            EXPECT_EQ(message.text, kIncompatibleFileText);
            EXPECT_EQ(message.caption, QStringLiteral("Orvx ESD DTM"));
            EXPECT_EQ(message.icon, ui::MessageIcon::Error);
        }
        // A program that skips the check is refused all the same.
        CNvEsdDataFileSvr server;
        server.OpenFile(Path(), OpenPurpose::Save);
        EXPECT_EQ(server.WriteRecord(pstRecord(), kNow).message, kIncompatibleFileText);
        EXPECT_EQ(contents(Path()), other);
    }
}

TEST_F(DataFile, LoadingNeverCreatesAFile)
{
    const QString missing = Path("missing.dgn");
    EXPECT_FALSE(openForReading(missing, nullptr));
    EXPECT_FALSE(QFile::exists(missing));
    setContents(Path(), {});
    EXPECT_FALSE(openForReading(Path(), nullptr));
    EXPECT_EQ(m_dialogs.messageTexts(),
              QStringList({missing + '\n' + QString::fromLocal8Bit(std::strerror(ENOENT)), kEmptyFileText}));

    append(Path(), pstRecord());
    auto server = openForReading(Path(), nullptr);
    ASSERT_TRUE(server);
    EXPECT_EQ(server->ListRecords().size(), 1);
}

TEST_F(DataFile, AnEmptyTagSavesNothing)
{
    append(Path(), pstRecord());
    const QByteArray before = contents(Path());
    m_dialogs.fileAnswers = {Path(), Path("new.dgn")};
    EXPECT_FALSE(saveRecordToFile(pstRecord(QString()), nullptr));
    EXPECT_FALSE(saveRecordToFile(pstRecord(QString()), nullptr));
    EXPECT_EQ(m_dialogs.messageTexts(), QStringList(2, QStringLiteral("The device tag is empty; nothing was saved.")));
    EXPECT_EQ(contents(Path()), before);
    EXPECT_EQ(contents(Path("new.dgn")), QByteArray());
}

}  // namespace

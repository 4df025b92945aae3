#include "diagnostics/Windows1252.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

using namespace orvx::diagnostics;

namespace {

TEST(Windows1252, EveryByteComesBackAsItWas)
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = fromWindows1252(all);
    EXPECT_EQ(toWindows1252(text), all);
    // The system's converter, where it has one, reads every byte the same way.
    QStringDecoder system("windows-1252");
    if (system.isValid()) {
        EXPECT_EQ(text, QString(system.decode(all)));
    }
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x81], QChar(0x81));
    // C1 controls that the code page uses for other characters have no byte.
    EXPECT_EQ(toWindows1252(u"\u0080\u009F\u0100\u20AC"), QByteArray("???\x80"));
}

}  // namespace

#include "diagnostics/XFile.h"
#include "diagnostics/XFileException.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

using namespace orvx::diagnostics;

namespace {

// The failure of a call, or error 0 when it did not fail.
template <typename Call>
CXFileException failureOf(Call call)
{
    try {
        call();
    } catch (const CXFileException& error) {
        EXPECT_EQ(error.SystemMessage(), QString::fromLocal8Bit(std::strerror(error.Error())));
        return error;
    }
    return CXFileException(0, {});
}

TEST(XFile, OpensAnExistingFileAtItsEndOnlyWhereItCouldHaveBeenCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.dgn"));
    CXFile file;
    EXPECT_TRUE(file.Open(path, CXFile::Readable | CXFile::Writable | CXFile::Create));
    file.Write("abcdef", 6);
    EXPECT_FALSE(file.Open(path, CXFile::Readable | CXFile::Writable | CXFile::Create));
    EXPECT_EQ(file.Position(), 6);
    EXPECT_FALSE(file.Open(path, CXFile::Readable));
    EXPECT_EQ(file.Position(), 0);
    EXPECT_EQ(failureOf([&] { file.Write("x", 1); }).Error(), EBADF);

    file.Open(path, CXFile::Readable | CXFile::Writable);
    file.SetLength(4);
    EXPECT_EQ(file.Seek(-1, CXFile::Origin::End), 3);
    CXFile second = file.Duplicate();
    EXPECT_EQ(second.Seek(-2, CXFile::Origin::Current), 1);
    char read[8] = {};
    EXPECT_EQ(file.Read(read, sizeof read), 3);  // shares the position, stops at the end
    EXPECT_STREQ(read, "bcd");

    // A relative name is made absolute; the error names it so.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const CXFileException missing = failureOf([&] { file.Open(QStringLiteral("missing.dgn"), CXFile::Readable); });
    QDir::setCurrent(current);
    EXPECT_EQ(missing.Error(), ENOENT);
    EXPECT_EQ(missing.Path(), QDir(dir.path()).filePath(QStringLiteral("missing.dgn")));
    EXPECT_NE(std::strstr(missing.what(), "missing.dgn: "), nullptr);
    EXPECT_EQ(failureOf([&] { file.Length(); }).Error(), EBADF);
    EXPECT_EQ(failureOf([&] { file.Open(dir.path(), CXFile::Writable); }).Error(), EISDIR);
}

}  // namespace

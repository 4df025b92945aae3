#include "platform/ui/IconLibrary.h"
#include "platform/ui/ModuleFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using orvx::ui::CIconLibrary;

namespace {

const QString kStore = QStringLiteral("BaseUiResources.rcc");

// The build puts the icon store beside the test programs, as the install puts it beside the module.
TEST(IconLibrary, LoadsAll36IconsFromBesideTheModule)
{
    CIconLibrary library(kStore, orvx::ui::moduleFolder(), {});
    library.Acquire();
    ASSERT_TRUE(library.isLoaded()) << "no " << kStore.toStdString() << " in "
                                    << orvx::ui::moduleFolder().toStdString();
    for (std::uint32_t id = 1; id <= 36; ++id) {
        const QIcon icon = library.Get(id);
        ASSERT_FALSE(icon.isNull()) << id;
        const QImage image = icon.pixmap(16, 16).toImage();
        EXPECT_EQ(image.size(), QSize(16, 16)) << id;
    }
    EXPECT_TRUE(library.Get(0).isNull());
    EXPECT_TRUE(library.Get(37).isNull());
    // Distinct states must look different: failure and OK are not the same picture.
    EXPECT_NE(library.Get(12).pixmap(16, 16).toImage(), library.Get(36).pixmap(16, 16).toImage());
    library.Release();
}

TEST(IconLibrary, StaysLoadedUntilTheLastUserReleases)
{
    CIconLibrary library(kStore, orvx::ui::moduleFolder(), {});
    library.Acquire();
    library.Acquire();
    library.Release();
    EXPECT_TRUE(library.isLoaded());
    EXPECT_FALSE(library.Get(16).isNull());
    library.Release();
    EXPECT_FALSE(library.isLoaded());
    EXPECT_TRUE(library.Get(16).isNull());
    library.Acquire();  // a later user loads it again
    EXPECT_FALSE(library.Get(16).isNull());
    library.Release();
}

TEST(IconLibrary, FindsTheStoreOnTheSearchPathWhenTheModuleFolderHasNone)
{
    QTemporaryDir emptyFolder;
    QTemporaryDir storeFolder;
    ASSERT_TRUE(QFile::copy(QDir(orvx::ui::moduleFolder()).filePath(kStore), storeFolder.filePath(kStore)));
    CIconLibrary library(kStore, emptyFolder.path(), {QStringLiteral("/nonexistent"), storeFolder.path()});
    library.Acquire();
    EXPECT_EQ(library.loadedStore(), storeFolder.filePath(kStore));
    EXPECT_FALSE(library.Get(1).isNull());
    library.Release();
}

TEST(IconLibrary, AMissingStoreLeavesEveryIconEmpty)
{
    QTemporaryDir emptyFolder;
    CIconLibrary library(QStringLiteral("Missing.rcc"), emptyFolder.path(), {emptyFolder.path()});
    library.Acquire();
    EXPECT_FALSE(library.isLoaded());
    for (std::uint32_t id = 0; id <= 37; ++id)
        EXPECT_TRUE(library.Get(id).isNull()) << id;
    library.Release();
    EXPECT_EQ(library.users(), 0);
}

TEST(IconLibrary, AStoreThatIsNotAResourceFileLeavesEveryIconEmpty)
{
    QTemporaryDir folder;
    QFile broken(folder.filePath(kStore));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a resource file");
    broken.close();
    CIconLibrary library(kStore, folder.path(), {});
    library.Acquire();
    EXPECT_FALSE(library.isLoaded());
    EXPECT_TRUE(library.Get(30).isNull());
    library.Release();
}

}  // namespace

#include "IconLibrary.h"

#include "ModuleFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QResource>

namespace orvx::ui {

namespace {

// Where the store's icons are mapped in the resource tree while it is loaded.
const QString kMapRoot = QStringLiteral("/orvx-base-icons");

QString iconPath(std::uint32_t id)
{
    return QStringLiteral(":%1/icon_%2.svg").arg(kMapRoot).arg(id, 2, 10, QLatin1Char('0'));
}

// The icons last rendered, and the store bytes they were rendered from. Icons are shared
// read-only pictures, so every library of the process may hand them out.
struct RenderedIcons {
    QByteArray storeBytes;
    std::map<std::uint32_t, QIcon> icons;
};

RenderedIcons& lastRendered()
{
    // Never destroyed: icons must not outlive the application object at exit.
    static auto* rendered = new RenderedIcons;
    return *rendered;
}

}  // namespace

CIconLibrary::CIconLibrary(QString storeName, QString moduleFolder, QStringList searchPath)
    : m_storeName(std::move(storeName)), m_moduleFolder(std::move(moduleFolder)), m_searchPath(std::move(searchPath))
{
}

CIconLibrary::~CIconLibrary()
{
    if (isLoaded())
        unloadStore();
}

CIconLibrary& CIconLibrary::instance()
{
    // Never destroyed: icons must not outlive the application object at exit.
    static CIconLibrary* library = [] {
        QStringList searchPath =
            QString::fromLocal8Bit(qgetenv("ORVX_RESOURCE_PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
        if (QCoreApplication::instance())
            searchPath.append(QCoreApplication::applicationDirPath());
        return new CIconLibrary(QStringLiteral("BaseUiResources.rcc"), moduleFolder(), searchPath);
    }();
    return *library;
}

void CIconLibrary::Acquire()
{
    ++m_users;
    if (m_users < 2 && !isLoaded())
        loadStore();
}

void CIconLibrary::Release()
{
    --m_users;
    if (m_users < 1 && isLoaded())
        unloadStore();
}

QIcon CIconLibrary::Get(std::uint32_t id) const
{
    const auto it = m_icons.find(id);
    return it == m_icons.end() ? QIcon() : it->second;
}

bool CIconLibrary::loadStore()
{
    QStringList candidates;
    if (!m_moduleFolder.isEmpty())
        candidates.append(QDir(m_moduleFolder).filePath(m_storeName));
    for (const QString& folder : m_searchPath)
        candidates.append(QDir(folder).filePath(m_storeName));

    for (const QString& candidate : candidates) {
        if (!QFileInfo::exists(candidate))
            continue;
        if (!QResource::registerResource(candidate, kMapRoot))
            continue;
        m_loadedStore = candidate;
        QFile store(candidate);
        renderIcons(store.open(QIODevice::ReadOnly) ? store.readAll() : QByteArray());
        return true;
    }
    return false;
}

void CIconLibrary::renderIcons(const QByteArray& storeBytes)
{
    RenderedIcons& rendered = lastRendered();
    if (storeBytes.isEmpty() || storeBytes != rendered.storeBytes) {
        rendered.icons.clear();
        for (std::uint32_t id = kFirstIcon; id <= kLastIcon; ++id) {
            // Rendered once at the size the areas show, so that the icons stay valid while
            // the store is mapped and nothing is drawn from the file afterwards.
            const QPixmap pixmap = QIcon(iconPath(id)).pixmap(16, 16);
            rendered.icons[id] = pixmap.isNull() ? QIcon() : QIcon(pixmap);
        }
        rendered.storeBytes = storeBytes;
    }
    m_icons = rendered.icons;
}

void CIconLibrary::unloadStore()
{
    m_icons.clear();
    QResource::unregisterResource(m_loadedStore, kMapRoot);
    m_loadedStore.clear();
}

void AcquireIcons()
{
    CIconLibrary::instance().Acquire();
}

void ReleaseIcons()
{
    CIconLibrary::instance().Release();
}

QIcon GetIcon(std::uint32_t id)
{
    return CIconLibrary::instance().Get(id);
}

}  // namespace orvx::ui

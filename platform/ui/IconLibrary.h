#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>

namespace orvx::ui {

// The 36 state icons (16 by 16) of the external icon store "BaseUiResources.rcc". Loaded by
// the first user, unloaded by the last. A missing store leaves every icon empty; nothing else
// changes. The icons rendered from a store are kept past its unloading: a later user of a store
// with the same bytes gets them again without rendering (every Init of a control loads the store,
// and rendering the 36 pictures costs more than the rest of the control's start).
class CIconLibrary {
public:
    static constexpr std::uint32_t kFirstIcon = 1;
    static constexpr std::uint32_t kLastIcon = 36;

    // 'storeName' is looked for in 'moduleFolder' first, then in each folder of 'searchPath'.
    CIconLibrary(QString storeName, QString moduleFolder, QStringList searchPath);
    ~CIconLibrary();
    CIconLibrary(const CIconLibrary&) = delete;
    CIconLibrary& operator=(const CIconLibrary&) = delete;

    // The process-wide library: the store beside the module, else on ORVX_RESOURCE_PATH
    // (folders separated by ':'), else beside the program.
    static CIconLibrary& instance();

    void Acquire();
    void Release();
    // The icon, or a null icon when the id is not loaded.
    QIcon Get(std::uint32_t id) const;

    int users() const { return m_users; }
    bool isLoaded() const { return !m_loadedStore.isEmpty(); }
    // The store file in use; empty while nothing is loaded.
    const QString& loadedStore() const { return m_loadedStore; }

private:
    bool loadStore();
    void unloadStore();
    // The icons of the store mapped now: those rendered last time when its bytes are the same.
    void renderIcons(const QByteArray& storeBytes);

    QString m_storeName;
    QString m_moduleFolder;
    QStringList m_searchPath;
    QString m_loadedStore;
    int m_users = 0;
    std::map<std::uint32_t, QIcon> m_icons;
};

// The process-wide operations the controls use.
void AcquireIcons();
void ReleaseIcons();
QIcon GetIcon(std::uint32_t id);

}  // namespace orvx::ui

#pragma once

// The real module, loaded as a frame loads it: through the registry and its entry points, with
// a registry file of the test's own.
#include <gtest/gtest.h>

#include <QAction>
#include <QByteArray>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <cstdint>
#include <dlfcn.h>
#include <string>

namespace orvx::test {

using Entry = std::int32_t (*)();

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

// Handles events, a link's news among them, until `done` holds or `ms` passed.
template <class F>
bool waitFor(F done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return done();
}

// The overview's text of item `item`, or "(none)" when the page has no such label.
inline QString itemText(QWidget* window, int item)
{
    auto* label = window->findChild<QLabel*>(QStringLiteral("item_%1").arg(item));
    return label ? label->text() : QStringLiteral("(none)");
}

// Picks the mode at `index` on the overview and presses Apply, as a user does; answers the Apply
// button, or null when the page has no mode choice.
inline QPushButton* applyMode(QWidget* window, int index)
{
    auto* modeToSet = window->findChild<QComboBox*>(QStringLiteral("item_201"));
    auto* apply = window->findChild<QPushButton*>(QStringLiteral("item_202"));
    if (!modeToSet || !apply)
        return nullptr;
    modeToSet->setCurrentIndex(index);
    emit modeToSet->activated(index);
    apply->click();
    return apply;
}

// The action `text` of the window's menu `menu`, or null.
inline QAction* menuAction(QMainWindow& window, const QString& menu, const QString& text)
{
    for (QAction* top : window.menuBar()->actions())
        if (top->text() == menu && top->menu())
            for (QAction* action : top->menu()->actions())
                if (action->text() == text)
                    return action;
    return nullptr;
}

}  // namespace orvx::test

#include "ShotWriter.h"

#include "LookCheck.h"
#include "ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace orvx::frame {

void ShotWriter::Take(QWidget* window, const QString& name)
{
    QApplication::processEvents();
    for (const QString& problem : lookProblems(window))
        m_errors->append(QStringLiteral("%1: %2").arg(name, problem));
    const QString file = QDir(m_folder).filePath(name);
    if (window->grab().save(file))
        ++m_written;
    else
        m_errors->append(QStringLiteral("cannot write %1").arg(file));
}

bool selectPage(QWidget* control, const QString& label)
{
    auto* tree = control->findChild<QTreeWidget*>();
    if (!tree)
        return false;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == label) {
            tree->setCurrentItem(*it);
            QApplication::processEvents();
            return true;
        }
    }
    return false;
}

namespace {

constexpr int kModeToSet = 201;
constexpr int kApplyMode = 202;
constexpr int kActiveMode = 205;
constexpr int kWaitMs = 10000;

QWidget* visibleItem(QWidget* control, int item)
{
    for (auto* widget : control->findChildren<QWidget*>(QStringLiteral("item_%1").arg(item)))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

QString activeMode(QWidget* control)
{
    auto* active = qobject_cast<QLabel*>(visibleItem(control, kActiveMode));
    return active ? active->text() : QString();
}

}  // namespace

QAbstractButton* visibleButton(QWidget* control, int item)
{
    for (auto* button : control->findChildren<QAbstractButton*>(QStringLiteral("item_%1").arg(item)))
        if (button->isVisible())
            return button;
    return nullptr;
}

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

bool changeMode(QWidget* control, const QString& mode, QStringList* errors)
{
    auto* modeToSet = qobject_cast<QComboBox*>(visibleItem(control, kModeToSet));
    QAbstractButton* apply = visibleButton(control, kApplyMode);
    const int index = modeToSet ? modeToSet->findText(mode) : -1;
    if (index < 0 || !apply) {
        errors->append(QStringLiteral("no mode button to change to %1 mode").arg(mode));
        return false;
    }
    modeToSet->setCurrentIndex(index);
    emit modeToSet->activated(index);
    const QString normal = QStringLiteral("Normal");
    if (activeMode(control).startsWith(normal) || mode == normal) {
        // Leaving or entering Normal mode is confirmed first.
        ModalScript confirm({{QStringLiteral("Orvx ESD HART"), [](QWidget* box) { ModalScript::OkLater(box); }}});
        confirm.Run([apply] { apply->click(); }, kWaitMs, errors);
    } else {
        apply->click();
    }
    // The mode shows before the change has finished; the mode button comes back after it.
    if (waitFor([&] { return activeMode(control) == mode && apply->isEnabled(); }, kWaitMs))
        return true;
    errors->append(QStringLiteral("the device did not change to %1 mode").arg(mode));
    return false;
}

}  // namespace orvx::frame

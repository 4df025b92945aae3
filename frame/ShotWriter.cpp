#include "ShotWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace orvx::frame {

void ShotWriter::Take(QWidget* window, const QString& name)
{
    QApplication::processEvents();
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

QAbstractButton* visibleButton(QWidget* control, int item)
{
    for (auto* button : control->findChildren<QAbstractButton*>(QStringLiteral("item_%1").arg(item)))
        if (button->isVisible())
            return button;
    return nullptr;
}

}  // namespace orvx::frame

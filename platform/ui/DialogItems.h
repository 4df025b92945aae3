#pragma once

#include <QPushButton>
#include <QString>
#include <QWidget>

namespace orvx::ui {

// The object name a dialog form gives the widget with a numbered item: "item_<number>".
inline QString itemName(int item)
{
    return QStringLiteral("item_%1").arg(item);
}

// The widget of a form with that item number, or none.
template <class T = QWidget>
T* dialogItem(const QWidget* form, int item)
{
    return form ? form->findChild<T*>(itemName(item)) : nullptr;
}

// A new widget of a form under 'parent', named for its item number.
template <class T>
T* makeItem(QWidget* parent, int item)
{
    auto* widget = new T(parent);
    widget->setObjectName(itemName(item));
    return widget;
}

// A new push button of a form, named for its item number, with its text ('&' marks its key).
inline QPushButton* makeButton(QWidget* parent, int item, const QString& text)
{
    auto* button = makeItem<QPushButton>(parent, item);
    button->setText(text);
    return button;
}

}  // namespace orvx::ui

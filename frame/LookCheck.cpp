#include "LookCheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace orvx::frame {

namespace {

constexpr const char* kTrippedImage = "item_286";
constexpr const char* kTrippedWords = "esdTrippedWords";

QString nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// A text shown whole needs the width of its size hint; a wrapped label or a picture has none.
void checkFits(const QWidget* widget, const QString& text, QStringList& problems)
{
    if (text.isEmpty())
        return;
    const int needed = widget->minimumSizeHint().width();
    if (widget->width() < needed) {
        problems.append(QStringLiteral("\"%1\" (%2) is %3 px wide and needs %4")
                            .arg(text, nameOf(widget))
                            .arg(widget->width())
                            .arg(needed));
    }
}

bool readOnly(const QWidget* edit)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(edit))
        return line->isReadOnly();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(edit))
        return text->isReadOnly();
    return false;
}

void checkReadOnlyLook(const QWidget* edit, QStringList& problems)
{
    if (!edit->isEnabled() || !readOnly(edit))
        return;
    const QColor editable = QApplication::palette(edit).color(QPalette::Active, QPalette::Base);
    if (edit->palette().color(QPalette::Active, QPalette::Base) == editable)
        problems.append(QStringLiteral("%1 cannot be typed into but looks editable").arg(nameOf(edit)));
}

void checkTrippedWords(const QWidget* window, QStringList& problems)
{
    const auto* image = window->findChild<QLabel*>(QLatin1String(kTrippedImage));
    if (!image || !image->isVisible())
        return;
    const auto* words = window->findChild<QLabel*>(QLatin1String(kTrippedWords));
    if (!words || !words->isVisible() || !words->text().startsWith(QLatin1String("ESD Tripped: ")))
        problems.append(QStringLiteral("the ESD image has no state in words beside it"));
}

}  // namespace

QStringList lookProblems(const QWidget* window)
{
    QStringList problems;
    if (!window || !window->isVisible())
        return problems;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (!label->wordWrap() && label->pixmap().isNull())
                checkFits(label, label->text(), problems);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            checkFits(button, button->text(), problems);
        } else {
            checkReadOnlyLook(widget, problems);
        }
    }
    checkTrippedWords(window, problems);
    return problems;
}

}  // namespace orvx::frame

#include "ProblemText.h"

#include <QLabel>
#include <QPalette>

namespace orvx::ui {

void showAsProblem(QLabel* label, bool problem)
{
    if (!label)
        return;
    if (!problem) {
        label->setPalette(QPalette());
        label->setFont(QFont());
        return;
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

}  // namespace orvx::ui

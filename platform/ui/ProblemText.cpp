#include "ProblemText.h"

#include "Colours.h"

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
    palette.setColor(QPalette::WindowText, kProblemColour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

}  // namespace orvx::ui

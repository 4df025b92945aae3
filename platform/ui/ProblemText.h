#pragma once

class QLabel;

namespace orvx::ui {

// Marks a label as naming a problem: dark red bold text. Set through the palette and the font,
// since a style sheet of its own gives the label a style of its own, which costs more to make
// and to draw than the whole label. `problem` false gives the label the application's look back.
void showAsProblem(QLabel* label, bool problem = true);

}  // namespace orvx::ui

#pragma once

class QBrush;
class QEvent;
class QWidget;

namespace orvx::ui {

// A field the user cannot type into looks like one that is switched off, as the page header's
// fields do: this is its background, taken from the palette the application has now.
QBrush readOnlyBackground(const QWidget* field);
// Whether the event may change that look: the read-only state or a palette changed (the
// application's reaches a top window as such, a child as a change of its parent's).
bool followsLook(const QEvent& event);

// Keeps the look of a plain line or text edit with its read-only state, from now on and after
// every change of the application's palette. Fields with a palette of their own are left alone.
void followReadOnlyLook(QWidget* edit);

}  // namespace orvx::ui

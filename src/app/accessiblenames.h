#pragma once

class QWidget;

// The names a screen reader reads for the window's controls that show only
// an icon, a letter or a number (their tool tips describe, they do not
// name), and the labels tied to their fields. Applied when the window is
// built and again when the language changes.
namespace AccessibleNames {
void apply(QWidget *window);
}

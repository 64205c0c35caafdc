#pragma once

class QLineEdit;
class QUndoStack;

// Ctrl+Z and Ctrl+Shift+Z in a box beside the sheet (the find bar's query
// and replacement) undo and redo what was done last: the box's own typing
// while nothing has changed the sheet since, else a step of the sheet's
// `history` (the window's Undo and Redo). So after Enter in "Zamień na" the
// first Ctrl+Z undoes the replacement, and the next the typing before it.
namespace SheetUndoKeys {

void install(QLineEdit *box, QUndoStack *history);

} // namespace SheetUndoKeys

#pragma once

#include "platform/MessageBox.h"

class QFont;

// The real message box: a modal QMessageBox with the program's Japanese button captions.
namespace platform {

// Routes every showMessageBox of the program to the dialog below. Call once, after the
// QApplication exists.
void installMessageBoxDialog();

// Shows one box and returns the answer code of the button pressed (closing the box counts as the
// Cancel, No or OK button it has). The box is owned by the active window (else the first visible
// top-level window), stays above it when that window is topmost, is plain text (never markup) and
// is brought to the front even when the program was not active.
int runMessageBoxDialog(const MessageBoxRequest& request);

// The width a box keeps so that the window manager can show its whole title.
int messageBoxTitleRoom(const QFont& font, const QString& title);

} // namespace platform

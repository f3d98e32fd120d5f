#pragma once

#include <QString>

class QMimeData;

// Dropping text or files onto a text box appends the dropped text, or the first file's path, to
// what is already there. The settings dialog uses this for its text boxes too.
namespace app {

// The text a drop contributes: the plain text, else the first local file's path, else "".
QString droppedText(const QMimeData* data);

// The control's text after the drop: a blank between the old text and the new one unless the old
// text is empty or ends in a blank; the new text enclosed in double quotes when it holds a blank.
QString appendDroppedText(const QString& controlText, const QString& dropped);

// Whether a drag carries something AppendDropText can use.
bool canAcceptDrop(const QMimeData* data);

} // namespace app

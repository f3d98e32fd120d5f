#pragma once

#include <QString>

// The memo records keep CR LF line ends and count the caret over them; the text field works with
// single line feeds. These convert between the two.
namespace memopane {

QString toViewText(const QString& storedText);
QString toStoredText(const QString& viewText);
int storedToViewPosition(const QString& storedText, int storedPosition);
int viewToStoredPosition(const QString& viewText, int viewPosition);

// The line under the caret of a text with line feeds, as a start and an end position in the text
// (end excludes the line feed). Empty text has no line: returns false.
bool lineAt(const QString& viewText, int caret, int& lineStart, int& lineEnd);

} // namespace memopane

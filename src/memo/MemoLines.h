#pragma once

#include <QString>

#include <optional>

// Helpers for the memo pane's text field.

// The part of the line under the caret that "run the line" opens: the line without its leading
// spaces (trailing ones stay). Texts use CR LF; a caret at the end of a line belongs to that line.
// Nothing when there is no line under the caret or the line holds only spaces.
struct MemoLineTarget {
    QString text;
    int start = 0; // position of the target's first character in the whole text
};
std::optional<MemoLineTarget> MemoLineUnderCaret(const QString& text, int caret);

// Text widgets keep "\n"; the memo list keeps CR LF. Positions convert with the text they count in.
QString memoTextToView(const QString& crlfText);
QString memoTextFromView(const QString& viewText);
int caretToView(const QString& crlfText, int crlfCaret);
int caretFromView(const QString& viewText, int viewCaret);

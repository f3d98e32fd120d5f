#pragma once

#include "config/Settings.h"

#include <QString>

#include <variant>
#include <vector>

namespace config {

class CIniFile;

// One key of section "Options": the member of Options that holds it and how a stored value that
// is no good is repaired while the settings load. The one place that spells the option keys.
struct OptionField {
    enum class Repair {
        Bool,        // not a Boolean text: the default
        NonEmpty,    // empty: the default
        HotKeyMask,  // empty: the default; not 3, 7 or 8: no hotkey at all
        HotKeyCode,  // empty: the default; not a letter, digit or keypad digit: no hotkey at all
        HistorySize, // not -1 or 0 to 50: the default
    };
    using Member =
        std::variant<bool Options::*, QString Options::*, int Options::*, short Options::*>;

    QString key;
    Member member;
    Repair repair;
};

// Every option, in the order the options are repaired and written.
const std::vector<OptionField>& optionSchema();

// The field that holds `member` (&Options::TopMost).
const OptionField& optionField(const OptionField::Member& member);

// The value as the settings file holds it ("True", "90", a path).
QString optionText(const Options& options, const OptionField& field);
// Takes a stored text that has been repaired into `options`.
void readOption(Options& options, const OptionField& field, const QString& text);
// Writes the value into the current section.
void writeOption(CIniFile& ini, const OptionField& field, const Options& options);
// Repairs the stored value in the current section; every repair goes through Data, so it moves
// the key to the end of the section.
void repairOption(CIniFile& ini, const OptionField& field, const Options& defaults);

// Whether a hotkey survives the repair at start-up: none at all (both 0), or Ctrl + Alt,
// Ctrl + Shift + Alt or Windows with a letter or digit key (the keypad's too).
bool isStorableHotKey(int mask, int keyCode);

} // namespace config

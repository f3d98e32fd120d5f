#pragma once

#include <QString>

namespace config {
class CIniFile;
}
namespace input {

class CMRUCombo;

// The section of the settings file that holds the history.
inline const QString kMRUSection = QStringLiteral("MRU");

// Reads the section "MRU" into the history, in file order whatever the key names, then clears
// the combo text. Empty values are skipped.
void LoadMRUSection(CMRUCombo& history, config::CIniFile& store);

// Rewrites the section "MRU" as "1", "2", ... in history order. False when the write failed.
bool SaveMRUSection(const CMRUCombo& history, config::CIniFile& store);

} // namespace input

#pragma once

// What the crash writer writes, so that the campaign can tell a complete version from a torn one.
#include "config/CIniFile.h"
#include "memo/MemoDateFormat.h"

#include <QString>

namespace crash {

inline const QString kSection = QStringLiteral("Crash");
constexpr int kSettingsKeys = 400; // about 20 KB, so that kills land inside writes too

// Text beyond ASCII in every line, and characters of the best-fit table. Two words, so that it
// reads as prose and not as a script name.
inline QString memoLine(int n) {
    return QStringLiteral("メモ〜 「%1」★").arg(n);
}

inline memo::MemoClock fixedClock() {
    return [] { return QDateTime(QDate(2026, 3, 1), QTime(14, 5, 9)); };
}

inline QString settingsValue(int n, int key) {
    return QStringLiteral("値%1-%2〜").arg(n).arg(key);
}

inline void fillSettings(config::CIniFile& ini, int n, int keys) {
    ini.setData(QStringLiteral("Counter"), QString::number(n));
    for (int k = 0; k < keys; ++k)
        ini.setData(QStringLiteral("Key%1").arg(k), settingsValue(n, k));
}

} // namespace crash

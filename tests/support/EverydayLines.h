#pragma once

// Lines a Japanese user types into the input line on an ordinary day, for the tests that run
// them through the real dispatcher and the real script engine (in the window's library and
// through scrivlet-cli). Prose must reach the memo as typed; calculations must still evaluate.

#include <QDate>
#include <QString>

namespace everyday {

// The user's script file: functions and a constant with Japanese names, and a top-level
// statement that uses the "VBA" object.
inline const char kUserScript[] = "Function 合計(a, b)\r\n"
                                  "    合計 = a + b\r\n"
                                  "End Function\r\n"
                                  "Function 税込(x)\r\n"
                                  "    税込 = Int(x * 110 / 100)\r\n"
                                  "End Function\r\n"
                                  "Const 挨拶 = \"こんにちは\"\r\n"
                                  "y = VBA.Format(5, \"000\")\r\n";

// Each one becomes a memo entry as typed.
inline const char* const kProse[] = {
    "今日は晴れ。",
    "明日は、雨です。",
    "「本日」",
    "★メモ",
    "買い物：牛乳",
    "※要確認",
    "東京→大阪",
    "資料・議事録",
    "えーと…",
    "りんご3個",
    "500円",
    "15:00 会議",
    "12/7 打ち合わせ",
    "会議は15:00から",
    "1/2 完了",
    "詳細は https://example.com/a?b=1 を参照",
    "今日はいい天気😀",
    "🎉誕生日",
    "ｶﾀｶﾅ ﾒﾓ",
    "ﾒﾓ",
    "café au lait",
    "東京-大阪",
    "予定=会議",
    "今日は晴れ",
    "明日",
    "(会議)",
    "会議（午後）",
    "〜まで",
    "−5度",
    "한국어 메모",
    "〒100-0001",
    "①確認",
    "【重要】連絡",
    "『本』を読む",
    "お疲れさまでした！",
    "電話する?",
    "価格は¥1,000",
    "A4用紙を買う",
    "Tシャツ",
    "3時に集合",
    "100% 達成",
    "#タグ",
    "@田中さん 連絡",
    "第1四半期",
    "合計を出す",
    // Full-width text that is no calculation stays prose.
    "ＯＫです",
    "ＯＫ",
    "ＡＢＣ　ＤＥＦ",
    "Ｑ＆Ａ",
    // English with an apostrophe reads as a word and a comment: it is a note, never nothing.
    "Don't forget the dentist at 10:30.",
    "It's raining",
    "Let's meet at 5",
    "Time's up!",
    "' 買い物",
    "Rem 牛乳を買う",
};

struct Calculation {
    const char* line;
    QString result; // what the input line shows afterwards
};

inline QString today() {
    return QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
}

// Each one is evaluated: the input line shows the result.
inline const Calculation kCalculations[] = {
    {"1+1", QStringLiteral("2")},
    {"2^10", QStringLiteral("1024")},
    {"Date", today()},
    {"date", today()}, // never /usr/bin/date
    {"true", QStringLiteral("True")},
    {"合計(1, 2)", QStringLiteral("3")},
    {"税込(500)", QStringLiteral("550")},
    {"挨拶", QStringLiteral("こんにちは")},
    {"挨拶 & \"、世界\"", QStringLiteral("こんにちは、世界")},
    {"y", QStringLiteral("005")},
    {"Len(\"日本語\")", QStringLiteral("3")},
    {"\"今日は\" & \"晴れ\"", QStringLiteral("今日は晴れ")},
    {"Left(\"東京都\", 2)", QStringLiteral("東京")},
    {"VBA.StrConv(\"ｶﾀｶﾅ\", 4)", QStringLiteral("カタカナ")},
    {"1+1|2*3", QStringLiteral("2 |6")},
    {"1+1 ' check", QStringLiteral("2")},
    // Typed in the input method's full-width mode.
    {"１＋２＊３", QStringLiteral("7")},
    {"（１＋２）　＊　３", QStringLiteral("9")},
    {"ＳＱＲ（１６）＋Ａｂｓ（－１）", QStringLiteral("5")},
    {"１０　ＭＯＤ　３", QStringLiteral("1")},
    {"２＾１０／４", QStringLiteral("256")},
    {"１．５＊２", QStringLiteral("3")},
    {"1＋１", QStringLiteral("2")},
};

} // namespace everyday

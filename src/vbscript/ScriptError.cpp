#include "ScriptError.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <utility>

namespace vbscript {

namespace {

std::atomic<MessageLanguage> gLanguage{MessageLanguage::Japanese};

struct Entry {
    int32_t number;
    std::u16string_view japanese;
    // As the language's documentation words its errors in English.
    std::u16string_view english;
};

// Sorted by number.
constexpr Entry kTexts[] = {
    {5, u"プロシージャの呼び出し、または引数が不正です。", u"Invalid procedure call or argument"},
    {6, u"オーバーフローしました。", u"Overflow"},
    {7, u"メモリ不足です。", u"Out of memory"},
    {9, u"インデックスが有効範囲にありません。", u"Subscript out of range"},
    {10, u"固定サイズの配列、または現在、この配列はサイズを変更できない状態にあります。",
     u"This array is fixed or temporarily locked"},
    {11, u"0 で除算しました。", u"Division by zero"},
    {13, u"型が一致しません。", u"Type mismatch"},
    {14, u"文字列領域が不足しています。", u"Out of string space"},
    {17, u"要求された操作を実行できません。", u"Can't perform requested operation"},
    {18, u"ユーザーによる割り込みが発生しました。", u"User interrupt occurred"},
    {28, u"スタック領域が不足しています。", u"Out of stack space"},
    {35, u"Sub または Function が定義されていません。", u"Sub or Function not defined"},
    {48, u"DLL 読み込み時のエラーです。", u"Error in loading DLL"},
    {51, u"内部エラーです。", u"Internal error"},
    {53, u"ファイルが見つかりません。", u"File not found"},
    {54, u"ファイル モードが不正です。", u"Bad file mode"},
    {57, u"デバイス I/O エラーです。", u"Device I/O error"},
    {58, u"既に同名のファイルが存在しています。", u"File already exists"},
    {61, u"ディスクの空き容量が不足しています。", u"Disk full"},
    {62, u"ファイルの終わりを超えて入力しようとしました。", u"Input past end of file"},
    {67, u"ファイルが多すぎます。", u"Too many files"},
    {70, u"書き込みできません。", u"Permission denied"},
    {75, u"パス名が無効です。", u"Path/File access error"},
    {76, u"パスが見つかりません。", u"Path not found"},
    {91, u"オブジェクト型の変数は設定されていません。", u"Object variable not set"},
    {92, u"For ループは初期化されていません。", u"For loop not initialized"},
    {94, u"Null 値の使い方が不正です。", u"Invalid use of Null"},
    {322, u"必要なテンポラリ ファイルを作成できません。", u"Can't create necessary temporary file"},
    {380, u"プロパティの値が不正です。", u"Invalid property value"},
    {424, u"オブジェクトがありません。", u"Object required"},
    {429, u"ActiveX コンポーネントはオブジェクトを作成できません。",
     u"ActiveX component can't create object"},
    {430, u"クラスはオートメーションをサポートしていません。", u"Class doesn't support Automation"},
    {432, u"オートメーションの操作中にファイル名またはクラス名を見つけられませんでした。",
     u"File name or class name not found during Automation operation"},
    {438, u"オブジェクトでサポートされていないプロパティまたはメソッドです。",
     u"Object doesn't support this property or method"},
    {445, u"このオブジェクトではサポートされていない操作です。",
     u"Object doesn't support this action"},
    {446, u"名前付き引数はサポートされていません。", u"Object doesn't support named arguments"},
    {447, u"現在の国別情報の設定は、このオブジェクトではサポートされていません。",
     u"Object doesn't support current locale setting"},
    {448, u"名前付き引数が不正です。", u"Named argument not found"},
    {449, u"引数は省略できません。", u"Argument not optional"},
    {450, u"引数の数が一致していません。または不正なプロパティを指定しています。",
     u"Wrong number of arguments or invalid property assignment"},
    {451, u"オブジェクトがコレクションではありません。", u"Object not a collection"},
    {453, u"指定された DLL 関数が見つかりません。", u"Specified DLL function not found"},
    {457, u"このキーは既にこのコレクションの要素に割り当てられています。",
     u"This key is already associated with an element of this collection"},
    {458, u"VBScript でサポートされていないオートメーションが変数で使用されています。",
     u"Variable uses an Automation type not supported in VBScript"},
    {462, u"リモート サーバ マシンが存在しないか、利用できません。",
     u"The remote server machine does not exist or is unavailable"},
    {481, u"ピクチャが不正です。", u"Invalid picture"},
    {500, u"この変数は宣言されていません。", u"Variable is undefined"},
    {501, u"不正な代入です。", u"Illegal assignment"},
    {502, u"このオブジェクトは safe モードでは作成できません。", u"Object not safe for scripting"},
    {503, u"このオブジェクトは safe モードでは初期化できません。",
     u"Object not safe for initializing"},
    {504, u"このオブジェクトは safe モードでは作成できません。", u"Object not safe for creating"},
    {505, u"不正な参照です。", u"Invalid or unqualified reference"},
    {506, u"クラスが定義されていません。", u"Class not defined"},
    {507, u"例外が発生しました。", u"An exception occurred"},
    {1001, u"メモリ不足です。", u"Out of memory"},
    {1002, u"構文エラーです。", u"Syntax error"},
    {1003, u"':' がありません。", u"Expected ':'"},
    {1005, u"'(' がありません。", u"Expected '('"},
    {1006, u"')' がありません。", u"Expected ')'"},
    {1007, u"']' がありません。", u"Expected ']'"},
    {1010, u"識別子がありません。", u"Expected identifier"},
    {1011, u"'=' がありません。", u"Expected '='"},
    {1012, u"'If' がありません。", u"Expected 'If'"},
    {1013, u"'To' がありません。", u"Expected 'To'"},
    {1014, u"'End' がありません。", u"Expected 'End'"},
    {1015, u"'Function' がありません。", u"Expected 'Function'"},
    {1016, u"'Sub' がありません。", u"Expected 'Sub'"},
    {1017, u"'Then' がありません。", u"Expected 'Then'"},
    {1018, u"'Wend' がありません。", u"Expected 'Wend'"},
    {1019, u"'Loop' がありません。", u"Expected 'Loop'"},
    {1020, u"'Next' がありません。", u"Expected 'Next'"},
    {1021, u"'Case' がありません。", u"Expected 'Case'"},
    {1022, u"'Select' がありません。", u"Expected 'Select'"},
    {1023, u"式がありません。", u"Expected expression"},
    {1024, u"ステートメントがありません。", u"Expected statement"},
    {1025, u"ステートメントの末尾が不正です。", u"Expected end of statement"},
    {1026, u"整数型の定数がありません。", u"Expected integer constant"},
    {1027, u"'While' または 'Until' がありません。", u"Expected 'While' or 'Until'"},
    {1028, u"'While'、'Until' または終了するためのステートメントがありません。",
     u"Expected 'While', 'Until' or end of statement"},
    {1029, u"'With' がありません。", u"Expected 'With'"},
    {1030, u"識別子が長すぎます。", u"Identifier too long"},
    {1031, u"不正な数字です。", u"Invalid number"},
    {1032, u"不正な文字です。", u"Invalid character"},
    {1033, u"終了していない文字列型の定数です。", u"Unterminated string constant"},
    {1034, u"終了していないコメントです。", u"Unterminated comment"},
    {1037, u"'Me' キーワードの使い方が不正です。", u"Invalid use of 'Me' keyword"},
    {1038, u"'do' がありません。", u"'loop' without 'do'"},
    {1039, u"不正な 'exit' ステートメントです。", u"Invalid 'exit' statement"},
    {1040, u"'for' ループを制御する変数が不正です。", u"Invalid 'for' loop control variable"},
    {1041, u"名前が二重に定義されています。", u"Name redefined"},
    {1042, u"行頭のみ許されるステートメントです。", u"Must be first statement on the line"},
    {1043, u"ByVal 以外の引数には代入できません。", u"Cannot assign to non-ByVal argument"},
    {1044, u"Sub プロシージャを呼び出すときに、かっこを使うことはできません。",
     u"Cannot use parentheses when calling a Sub"},
    {1045, u"リテラル定数を指定してください。", u"Expected literal constant"},
    {1046, u"'In' がありません。", u"Expected 'In'"},
    {1047, u"'Class' がありません。", u"Expected 'Class'"},
    {1048, u"クラスの内部で宣言しなければなりません。", u"Must be defined inside a Class"},
    {1049, u"プロパティの宣言に Let、Set または Get がありません。",
     u"Expected Let or Set or Get in property declaration"},
    {1050, u"'Property' ステートメントがありません。", u"Expected 'Property'"},
    {1051, u"プロパティで指定した引数の数は、同じでなければなりません。",
     u"Number of arguments must be the same in every Property of one name"},
    {1052, u"クラスでは、既定のプロパティ/メソッドを複数個選択することはできません。",
     u"Cannot have multiple default property/method in a Class"},
    {1053, u"クラスの初期化または終了に引数がありません。",
     u"Class initialize or terminate do not have arguments"},
    {1054, u"Property set または Property let には少なくとも 1 つの引数が必要です。",
     u"Property set or let must have at least one argument"},
    {1055, u"'Next' が不正です。", u"Unexpected 'Next'"},
    {1056, u"'Default' は 'Property'、'Function' または 'Sub' にのみ指定できます。",
     u"'Default' can be specified only on 'Property' or 'Function' or 'Sub'"},
    {1057, u"'Default' 指定する場合には、'Public' も指定されていなければなりません。",
     u"'Default' must also be 'Public'"},
    {1058, u"'Default' の指定は、Property Get にのみ適用されます。",
     u"'Default' can only be on Property Get"},
    {5008, u"不正な代入です。", u"Illegal assignment"},
    {5016, u"正規表現オブジェクトが必要です。", u"Regular Expression object expected"},
    {5017, u"正規表現で構文エラーが発生しました。", u"Syntax error in regular expression"},
    {5018, u"文字の繰り返しを表す正規表現演算子が不正です。", u"Unexpected quantifier"},
    {5019, u"正規表現の中に ']' を指定してください。", u"Expected ']' in regular expression"},
    {5020, u"正規表現の中に ')' を指定してください。", u"Expected ')' in regular expression"},
    {5021, u"文字セットの範囲が不正です。", u"Invalid range in character set"},
    {32811, u"要素が見つかりません。", u"Element not found"},
};

constexpr Entry kUnknown = {0, u"不明な実行時エラーです。", u"Unknown runtime error"};

} // namespace

void setMessageLanguage(MessageLanguage language) {
    gLanguage.store(language, std::memory_order_relaxed);
}

MessageLanguage messageLanguage() {
    return gLanguage.load(std::memory_order_relaxed);
}

std::u16string errorDescription(int32_t number) {
    const auto it = std::lower_bound(std::begin(kTexts), std::end(kTexts), number,
                                     [](const Entry& e, int32_t n) { return e.number < n; });
    const Entry& entry = it != std::end(kTexts) && it->number == number ? *it : kUnknown;
    return std::u16string(messageLanguage() == MessageLanguage::English ? entry.english
                                                                        : entry.japanese);
}

std::u16string raisedErrorDescription(int32_t number) {
    if (number < 1 || number > 0xFFFF)
        return {};
    return errorDescription(number);
}

bool isCompileError(int32_t number) {
    return number >= 1001 && number <= 1058;
}

void raiseError(int32_t number) {
    raiseError(number, errorDescription(number));
}

void raiseError(int32_t number, std::u16string description) {
    throw ScriptError(number, std::move(description),
                      std::u16string(isCompileError(number) ? kCompileSource : kRuntimeSource));
}

} // namespace vbscript

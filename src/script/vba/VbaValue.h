#pragma once

#include <QString>

namespace script {

// The few shapes of a script value that Format and StrConv care about. Dates are OLE dates: days
// since 1899-12-30, the fraction being the time of day.
struct VbaValue {
    enum class Kind { Empty, Null, Number, Date, String, Boolean };

    Kind kind = Kind::Empty;
    double number = 0; // Number, Date, Boolean (True is -1)
    QString text;      // String

    static VbaValue empty() { return {}; }
    static VbaValue null() { return {Kind::Null, 0, {}}; }
    static VbaValue fromNumber(double n) { return {Kind::Number, n, {}}; }
    static VbaValue fromDate(double oleDate) { return {Kind::Date, oleDate, {}}; }
    static VbaValue fromString(const QString& s) { return {Kind::String, 0, s}; }
    static VbaValue fromBool(bool b) { return {Kind::Boolean, b ? -1.0 : 0.0, {}}; }
};

// A string result or a script error number (5 invalid argument, 6 overflow, 13 type mismatch).
// Format may give Null (Format(Null) with no section for it).
struct VbaResult {
    int error = 0;
    bool isNull = false;
    QString text;

    static VbaResult ok(QString s) { return {0, false, std::move(s)}; }
    static VbaResult fail(int number) { return {number, false, {}}; }
    static VbaResult nullValue() { return {0, true, {}}; }
};

} // namespace script

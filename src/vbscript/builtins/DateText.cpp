#include "vbscript/builtins/DateText.h"

#include "vbscript/builtins/DateMath.h"

#include <cmath>
#include <vector>

namespace vbscript::lib {

namespace {

void appendNumber(std::u16string& out, int value, int minDigits) {
    std::string digits = std::to_string(value);
    while (int(digits.size()) < minDigits)
        digits.insert(digits.begin(), '0');
    for (char c : digits)
        out.push_back(char16_t(c));
}

std::u16string shortDate(const CivilDateTime& p, const RegionalSettings& s) {
    std::u16string out;
    if (s.dateOrder == DateOrder::YearMonthDay) {
        appendNumber(out, p.year, 4);
        out += u'/';
        appendNumber(out, p.month, 2);
        out += u'/';
        appendNumber(out, p.day, 2);
    } else {
        appendNumber(out, p.month, 1);
        out += u'/';
        appendNumber(out, p.day, 1);
        out += u'/';
        appendNumber(out, p.year, 4);
    }
    return out;
}

std::u16string longDate(double oleDate, const CivilDateTime& p, const RegionalSettings& s) {
    std::u16string out;
    if (s.dateOrder == DateOrder::YearMonthDay) {
        appendNumber(out, p.year, 4);
        out += u"年";
        appendNumber(out, p.month, 1);
        out += u"月";
        appendNumber(out, p.day, 1);
        out += u"日";
    } else {
        out += s.dayNames[weekday(oleDate) - 1];
        out += u", ";
        out += s.monthNames[p.month - 1];
        out += u' ';
        appendNumber(out, p.day, 1);
        out += u", ";
        appendNumber(out, p.year, 4);
    }
    return out;
}

std::u16string longTime(const CivilDateTime& p, const RegionalSettings& s) {
    std::u16string out;
    if (s.twelveHourClock) {
        const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
        appendNumber(out, hour12, 1);
    } else {
        appendNumber(out, p.hour, 1);
    }
    out += u':';
    appendNumber(out, p.minute, 2);
    out += u':';
    appendNumber(out, p.second, 2);
    if (s.twelveHourClock) {
        out += u' ';
        out += p.hour < 12 ? s.amDesignator : s.pmDesignator;
    }
    return out;
}

// ---- parsing ----

enum class TokenKind { Number, Word, Separator };

struct Token {
    TokenKind kind;
    std::u16string text;
    int value = 0;
};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
char16_t lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

std::u16string lowerText(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text)
        out.push_back(lower(c));
    return out;
}

// Full-width digits and separators read like their ASCII forms.
char16_t narrow(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        return char16_t(c - 0xFF01 + 0x21);
    if (c == 0x3000)
        return u' ';
    return c;
}

std::optional<std::vector<Token>> tokenize(std::u16string_view text) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        const char16_t c = narrow(text[i]);
        if (isDigit(c)) {
            Token t{TokenKind::Number, {}};
            while (i < text.size() && isDigit(narrow(text[i]))) {
                t.text.push_back(narrow(text[i]));
                ++i;
            }
            if (t.text.size() > 5)
                return std::nullopt;
            t.value = std::stoi(std::string(t.text.begin(), t.text.end()));
            tokens.push_back(t);
        } else if (isLetter(c)) {
            Token t{TokenKind::Word, {}};
            while (i < text.size() && isLetter(narrow(text[i]))) {
                t.text.push_back(lower(narrow(text[i])));
                ++i;
            }
            tokens.push_back(t);
        } else if (text.substr(i, 2) == u"午前" || text.substr(i, 2) == u"午後") {
            tokens.push_back({TokenKind::Word, text[i + 1] == u'前' ? u"am" : u"pm"});
            i += 2;
        } else {
            std::u16string sep;
            switch (c) {
            case u'/':
            case u'-':
            case u'.':
            case u',':
            case u':':
            case u' ':
            case u'\t':
                sep = std::u16string(1, c);
                break;
            case u'年':
            case u'月':
                sep = u"/";
                break;
            case u'日':
            case u'秒':
                sep = u" ";
                break;
            case u'時':
            case u'分':
                sep = u":";
                break;
            default:
                return std::nullopt;
            }
            tokens.push_back({TokenKind::Separator, sep});
            ++i;
        }
    }
    return tokens;
}

std::optional<int> monthFromWord(const std::u16string& word, const RegionalSettings& s) {
    const auto& english = regionalSettings(kUnitedStatesLcid);
    for (int m = 0; m < 12; ++m) {
        const std::u16string full = lowerText(english.monthNames[m]);
        if (word.size() >= 3 && full.compare(0, word.size(), word) == 0)
            return m + 1;
        (void)s;
    }
    return std::nullopt;
}

bool isDayName(const std::u16string& word) {
    const auto& english = regionalSettings(kUnitedStatesLcid);
    for (const auto& day : english.dayNames) {
        const std::u16string full = lowerText(day);
        if (word.size() >= 3 && full.compare(0, word.size(), word) == 0)
            return true;
    }
    return false;
}

struct DateNumber {
    int value;
    int digits;
};

bool yearLike(const DateNumber& n) {
    return n.digits >= 3 || n.value > 31;
}

int yearOf(const DateNumber& n) {
    return n.digits <= 2 ? expandTwoDigitYear(n.value) : n.value;
}

bool validDay(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

std::optional<CivilDateTime> resolveDate(const std::vector<DateNumber>& numbers,
                                         std::optional<int> monthName, const RegionalSettings& s,
                                         int currentYear) {
    CivilDateTime p;
    auto accept = [&](int y, int m, int d) -> bool {
        if (!validDay(y, m, d))
            return false;
        p.year = y;
        p.month = m;
        p.day = d;
        return true;
    };
    if (monthName) {
        const int m = *monthName;
        if (numbers.size() == 1) {
            if (yearLike(numbers[0]))
                return accept(yearOf(numbers[0]), m, 1) ? std::optional(p) : std::nullopt;
            return accept(currentYear, m, numbers[0].value) ? std::optional(p) : std::nullopt;
        }
        if (numbers.size() == 2) {
            if (yearLike(numbers[0]) && !yearLike(numbers[1]))
                return accept(yearOf(numbers[0]), m, numbers[1].value) ? std::optional(p)
                                                                       : std::nullopt;
            return accept(yearOf(numbers[1]), m, numbers[0].value) ? std::optional(p)
                                                                   : std::nullopt;
        }
        return std::nullopt;
    }
    if (numbers.size() == 2) {
        const DateNumber& a = numbers[0];
        const DateNumber& b = numbers[1];
        if (yearLike(a))
            return accept(yearOf(a), b.value, 1) ? std::optional(p) : std::nullopt;
        if (yearLike(b))
            return accept(yearOf(b), a.value, 1) ? std::optional(p) : std::nullopt;
        return accept(currentYear, a.value, b.value) ? std::optional(p) : std::nullopt;
    }
    if (numbers.size() == 3) {
        const DateNumber& a = numbers[0];
        const DateNumber& b = numbers[1];
        const DateNumber& c = numbers[2];
        if (yearLike(a))
            return accept(yearOf(a), b.value, c.value) ? std::optional(p) : std::nullopt;
        const bool yearLast = yearLike(c) || s.dateOrder == DateOrder::MonthDayYear;
        if (yearLast) {
            if (accept(yearOf(c), a.value, b.value) || accept(yearOf(c), b.value, a.value))
                return p;
            return std::nullopt;
        }
        if (accept(yearOf(a), b.value, c.value) || accept(yearOf(c), a.value, b.value) ||
            accept(yearOf(c), b.value, a.value))
            return p;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::u16string formatDateTime(double oleDate, NamedDateFormat format,
                              const RegionalSettings& settings) {
    const CivilDateTime p = splitDate(oleDate);
    const std::int64_t seconds = totalSeconds(oleDate);
    const bool hasTime = seconds % 86400 != 0;
    const bool hasDate = !(seconds >= 0 && seconds < 86400);
    switch (format) {
    case NamedDateFormat::LongDate:
        return longDate(oleDate, p, settings);
    case NamedDateFormat::ShortDate:
        return shortDate(p, settings);
    case NamedDateFormat::LongTime:
        return longTime(p, settings);
    case NamedDateFormat::ShortTime: {
        std::u16string out;
        appendNumber(out, p.hour, 2);
        out += u':';
        appendNumber(out, p.minute, 2);
        return out;
    }
    case NamedDateFormat::General:
        break;
    }
    if (!hasDate)
        return longTime(p, settings);
    if (!hasTime)
        return shortDate(p, settings);
    return shortDate(p, settings) + u' ' + longTime(p, settings);
}

std::optional<double> parseDateTime(std::u16string_view text, const RegionalSettings& settings,
                                    int currentYear) {
    const auto tokens = tokenize(text);
    if (!tokens)
        return std::nullopt;
    std::vector<DateNumber> dateNumbers;
    std::vector<int> timeNumbers;
    std::optional<int> monthName;
    int meridiem = 0; // 1 am, 2 pm
    bool anyDate = false;
    const auto& t = *tokens;
    for (size_t i = 0; i < t.size(); ++i) {
        const Token& tok = t[i];
        if (tok.kind == TokenKind::Separator)
            continue;
        if (tok.kind == TokenKind::Word) {
            if (tok.text == u"am" || tok.text == u"a") {
                meridiem = 1;
            } else if (tok.text == u"pm" || tok.text == u"p") {
                meridiem = 2;
            } else if (auto m = monthFromWord(tok.text, settings); m && !monthName) {
                monthName = m;
                anyDate = true;
            } else if (!isDayName(tok.text)) {
                return std::nullopt;
            }
            continue;
        }
        const bool nextIsColon =
            i + 1 < t.size() && t[i + 1].kind == TokenKind::Separator && t[i + 1].text == u":";
        const bool prevIsColon =
            i > 0 && t[i - 1].kind == TokenKind::Separator && t[i - 1].text == u":";
        const bool nextIsMeridiem = i + 1 < t.size() && t[i + 1].kind == TokenKind::Word &&
                                    (t[i + 1].text == u"am" || t[i + 1].text == u"pm");
        if (nextIsColon || prevIsColon || (nextIsMeridiem && timeNumbers.empty())) {
            if (!prevIsColon && !timeNumbers.empty())
                return std::nullopt; // a second time
            timeNumbers.push_back(tok.value);
        } else {
            dateNumbers.push_back({tok.value, int(tok.text.size())});
            anyDate = true;
        }
    }
    if (timeNumbers.size() > 3 || dateNumbers.size() > 3)
        return std::nullopt;
    if (timeNumbers.empty() && meridiem != 0 && dateNumbers.size() == 1 && !monthName) {
        timeNumbers.push_back(dateNumbers[0].value); // "3 PM"
        dateNumbers.clear();
        anyDate = false;
    }
    if (!anyDate && timeNumbers.empty())
        return std::nullopt;

    CivilDateTime p;
    std::int64_t day = 0;
    if (anyDate) {
        const auto date = resolveDate(dateNumbers, monthName, settings, currentYear);
        if (!date)
            return std::nullopt;
        day = daysFromCivil(date->year, date->month, date->day);
    }
    if (!timeNumbers.empty()) {
        int hour = timeNumbers[0];
        const int minute = timeNumbers.size() > 1 ? timeNumbers[1] : 0;
        const int second = timeNumbers.size() > 2 ? timeNumbers[2] : 0;
        if (meridiem != 0) {
            if (hour > 12) // 午前0:00 is midnight, 午後0:00 noon
                return std::nullopt;
            hour = hour % 12 + (meridiem == 2 ? 12 : 0);
        }
        if (hour > 23 || minute > 59 || second > 59)
            return std::nullopt;
        p.hour = hour;
        p.minute = minute;
        p.second = second;
    } else if (meridiem != 0) {
        return std::nullopt;
    }
    const double ole = oleFromSeconds(day * 86400 + p.hour * 3600 + p.minute * 60 + p.second);
    if (!isValidDate(ole))
        return std::nullopt;
    return ole;
}

} // namespace vbscript::lib

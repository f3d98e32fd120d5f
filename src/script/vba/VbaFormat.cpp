#include "script/vba/VbaFormat.h"

#include "config/NumericText.h"
#include "script/vba/DateFormat.h"
#include "script/vba/FormatSections.h"
#include "script/vba/NumberFormat.h"
#include "script/vba/OleDate.h"
#include "script/vba/StringFormat.h"

#include <optional>
#include <vector>

namespace script {

using namespace format;

namespace {

// Value conversions

std::optional<double> numberOf(const VbaValue& v) {
    switch (v.kind) {
    case VbaValue::Kind::Empty:
        return 0.0;
    case VbaValue::Kind::Null:
        return std::nullopt;
    case VbaValue::Kind::String:
        return numtext::parseNumber(std::u16string_view(
            reinterpret_cast<const char16_t*>(v.text.utf16()), static_cast<size_t>(v.text.size())));
    default:
        return v.number;
    }
}

std::optional<double> dateOf(const VbaValue& v) {
    if (v.kind == VbaValue::Kind::String) {
        if (auto d = parseDateText(v.text)) {
            return d;
        }
    }
    return numberOf(v);
}

QString plainText(const VbaValue& v) {
    switch (v.kind) {
    case VbaValue::Kind::Empty:
    case VbaValue::Kind::Null:
        return QString();
    case VbaValue::Kind::String:
        return v.text;
    case VbaValue::Kind::Boolean:
        return v.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case VbaValue::Kind::Date:
        return vbaDateText(v.number);
    case VbaValue::Kind::Number:
        return vbaNumberText(v.number);
    }
    return QString();
}

// Named formats

enum class Named {
    None,
    GeneralNumber,
    Currency,
    Fixed,
    Standard,
    Percent,
    Scientific,
    YesNo,
    TrueFalse,
    OnOff,
    GeneralDate,
    LongDate,
    MediumDate,
    ShortDate,
    LongTime,
    MediumTime,
    ShortTime
};

Named namedFormat(QStringView f) {
    static const struct {
        const char16_t* name;
        Named kind;
    } table[] = {
        {u"General Number", Named::GeneralNumber},
        {u"Currency", Named::Currency},
        {u"Fixed", Named::Fixed},
        {u"Standard", Named::Standard},
        {u"Percent", Named::Percent},
        {u"Scientific", Named::Scientific},
        {u"Yes/No", Named::YesNo},
        {u"True/False", Named::TrueFalse},
        {u"On/Off", Named::OnOff},
        {u"General Date", Named::GeneralDate},
        {u"Long Date", Named::LongDate},
        {u"Medium Date", Named::MediumDate},
        {u"Short Date", Named::ShortDate},
        {u"Long Time", Named::LongTime},
        {u"Medium Time", Named::MediumTime},
        {u"Short Time", Named::ShortTime},
    };
    for (const auto& entry : table) {
        if (f.compare(QStringView(entry.name), Qt::CaseInsensitive) == 0) {
            return entry.kind;
        }
    }
    return Named::None;
}

VbaResult formatNamed(const VbaValue& value, Named kind) {
    if (value.kind == VbaValue::Kind::Null) {
        return VbaResult::nullValue();
    }
    if (kind >= Named::GeneralDate) {
        const auto date = dateOf(value);
        if (!date) {
            return VbaResult::ok(value.text); // text that is no date stays as it is
        }
        const auto parts = oleDateToParts(*date);
        if (!parts) {
            return VbaResult::fail(6);
        }
        switch (kind) {
        case Named::LongDate:
            return VbaResult::ok(longDateText(*parts));
        case Named::MediumDate:
            return VbaResult::ok(twoDigits(parts->year % 100) + u'-' + twoDigits(parts->month) +
                                 u'-' + twoDigits(parts->day));
        case Named::ShortDate:
            return VbaResult::ok(shortDateText(*parts));
        case Named::LongTime:
            return VbaResult::ok(longTimeText(*parts));
        case Named::MediumTime:
            return VbaResult::ok(formatDateSection(*parts, u"hh:nn AMPM", 1, 1));
        case Named::ShortTime:
            return VbaResult::ok(twoDigits(parts->hour) + u':' + twoDigits(parts->minute));
        default:
            return VbaResult::ok(generalDateText(*parts));
        }
    }
    const auto number = numberOf(value);
    if (!number) {
        return VbaResult::ok(value.text);
    }
    const double n = *number;
    switch (kind) {
    case Named::GeneralNumber:
        return VbaResult::ok(vbaNumberText(n));
    case Named::Currency:
        return VbaResult::ok(formatNumber(n, u"\\¥#,##0"));
    case Named::Fixed:
        return VbaResult::ok(formatNumber(n, u"0.00"));
    case Named::Standard:
        return VbaResult::ok(formatNumber(n, u"#,##0.00"));
    case Named::Percent:
        return VbaResult::ok(formatNumber(n, u"0.00%"));
    case Named::Scientific:
        return VbaResult::ok(formatNumber(n, u"0.00E+00"));
    case Named::YesNo:
        return VbaResult::ok(n != 0 ? QStringLiteral("Yes") : QStringLiteral("No"));
    case Named::TrueFalse:
        return VbaResult::ok(n != 0 ? QStringLiteral("True") : QStringLiteral("False"));
    default:
        return VbaResult::ok(n != 0 ? QStringLiteral("On") : QStringLiteral("Off"));
    }
}

} // namespace

VbaResult vbaFormat(const VbaValue& value, const QString& format, int firstDayOfWeek,
                    int firstWeekOfYear) {
    if (firstDayOfWeek < 0 || firstDayOfWeek > 7 || firstWeekOfYear < 0 || firstWeekOfYear > 3) {
        return VbaResult::fail(5);
    }
    const int dayOfWeek = firstDayOfWeek == 0 ? 1 : firstDayOfWeek;
    const int weekOfYear = firstWeekOfYear == 0 ? 1 : firstWeekOfYear;

    if (format.isEmpty()) {
        if (value.kind == VbaValue::Kind::Null) {
            return VbaResult::nullValue();
        }
        return VbaResult::ok(plainText(value));
    }
    if (const Named named = namedFormat(format); named != Named::None) {
        return formatNamed(value, named);
    }

    const FormatKind kind = classify(format);
    if (kind == FormatKind::String) {
        return VbaResult::ok(
            formatString(plainText(value), value.kind == VbaValue::Kind::Null, format));
    }
    if (value.kind == VbaValue::Kind::Null) {
        const std::vector<QStringView> sections = splitSections(format);
        if (sections.size() >= 4) {
            return VbaResult::ok(literalText(sections[3]));
        }
        return VbaResult::nullValue();
    }
    if (kind == FormatKind::Date) {
        const auto date = dateOf(value);
        if (!date) {
            return VbaResult::ok(value.text); // text that is no date stays as it is
        }
        return formatDate(*date, format, dayOfWeek, weekOfYear);
    }
    const auto number = numberOf(value);
    if (!number) {
        // Text that is no number: a format of literals only still applies, as to a string.
        return VbaResult::ok(kind == FormatKind::Literal ? formatString(value.text, false, format)
                                                         : value.text);
    }
    return VbaResult::ok(formatNumber(*number, format));
}

} // namespace script

#include "config/OptionSchema.h"

#include "config/CIniFile.h"
#include "config/NumericTextQt.h"

#include <algorithm>

namespace config {

namespace {

using Repair = OptionField::Repair;

QString boolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool isHotKeyCode(long code) {
    return (code >= 48 && code <= 57) || (code >= 65 && code <= 90) || (code >= 96 && code <= 105);
}

bool isHistorySize(long value) {
    return value == -1 || (value >= 0 && value <= 50);
}

// A mask or key the hotkey cannot use turns the hotkey off, both halves.
void disableHotKey(CIniFile& ini) {
    writeOption(ini, optionField(&Options::HotKeyMask), Options{.HotKeyMask = 0});
    writeOption(ini, optionField(&Options::HotKey), Options{.HotKey = 0});
}

} // namespace

bool isStorableHotKey(int mask, int keyCode) {
    if (mask == 0 && keyCode == 0)
        return true;
    return (mask == 3 || mask == 7 || mask == 8) && isHotKeyCode(keyCode);
}

const std::vector<OptionField>& optionSchema() {
    static const std::vector<OptionField> schema = {
        {QStringLiteral("TopMost"), &Options::TopMost, Repair::Bool},
        {QStringLiteral("StartUpTray"), &Options::StartUpTray, Repair::Bool},
        {QStringLiteral("UnresidentInfo"), &Options::UnresidentInfo, Repair::Bool},
        {QStringLiteral("IMEState"), &Options::IMEState, Repair::Bool},
        {QStringLiteral("HideAfterRun"), &Options::HideAfterRun, Repair::Bool},
        {QStringLiteral("NoTray"), &Options::NoTray, Repair::Bool},
        {QStringLiteral("MemoFileName"), &Options::MemoFileName, Repair::NonEmpty},
        {QStringLiteral("HotKeyMask"), &Options::HotKeyMask, Repair::HotKeyMask},
        {QStringLiteral("HotKey"), &Options::HotKey, Repair::HotKeyCode},
        {QStringLiteral("MRU"), &Options::MRU, Repair::HistorySize},
        {QStringLiteral("SetClipboard"), &Options::SetClipboard, Repair::Bool},
        {QStringLiteral("IfVoidThenHide"), &Options::IfVoidThenHide, Repair::Bool},
        {QStringLiteral("ShowErrMsg"), &Options::ShowErrMsg, Repair::Bool},
    };
    return schema;
}

const OptionField& optionField(const OptionField::Member& member) {
    const std::vector<OptionField>& schema = optionSchema();
    const auto found = std::find_if(schema.begin(), schema.end(), [&](const OptionField& field) {
        return field.member == member;
    });
    Q_ASSERT(found != schema.end());
    return *found;
}

QString optionText(const Options& options, const OptionField& field) {
    return std::visit(
        [&](auto member) -> QString {
            const auto& value = options.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>)
                return boolText(value);
            else if constexpr (std::is_same_v<T, QString>)
                return value;
            else
                return QString::number(value);
        },
        field.member);
}

void readOption(Options& options, const OptionField& field, const QString& text) {
    std::visit(
        [&](auto member) {
            auto& value = options.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>)
                value = numtext::toBool(numtext::view(text));
            else if constexpr (std::is_same_v<T, QString>)
                value = text;
            else
                value = static_cast<T>(numtext::toLng(numtext::view(text)));
        },
        field.member);
}

void writeOption(CIniFile& ini, const OptionField& field, const Options& options) {
    ini.setData(field.key, optionText(options, field));
}

void repairOption(CIniFile& ini, const OptionField& field, const Options& defaults) {
    const QString stored = ini.Data(field.key);
    const auto view = numtext::view(stored);
    switch (field.repair) {
    case Repair::Bool:
        if (!numtext::isBool(view))
            writeOption(ini, field, defaults);
        break;
    case Repair::NonEmpty:
        if (stored.isEmpty())
            writeOption(ini, field, defaults);
        break;
    case Repair::HotKeyMask:
        if (stored.isEmpty())
            writeOption(ini, field, defaults);
        else if (stored != QLatin1String("3") && stored != QLatin1String("7") &&
                 stored != QLatin1String("8"))
            disableHotKey(ini);
        break;
    case Repair::HotKeyCode:
        if (stored.isEmpty())
            writeOption(ini, field, defaults);
        else if (!numtext::isInt(view) || !isHotKeyCode(numtext::toLng(view)))
            disableHotKey(ini);
        break;
    case Repair::HistorySize:
        if (!numtext::isInt(view) || !isHistorySize(numtext::toLng(view)))
            writeOption(ini, field, defaults);
        break;
    }
}

} // namespace config

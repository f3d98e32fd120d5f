#include "script/VBLike.h"

#include "script/ValueBridge.h"
#include "script/vba/VbaFormat.h"
#include "script/vba/VbaStrConv.h"
#include "vbscript/Conversions.h"

namespace script {

std::span<const VBLike::Member> VBLike::members() const {
    static const Member table[] = {
        {u"Format", 1, 4, &VBLike::Format, nullptr},
        {u"StrConv", 2, 3, &VBLike::StrConv, nullptr},
    };
    return table;
}

vbscript::Value VBLike::Format(vbscript::Context&, vbscript::Args args) {
    const VbaValue expression = toVbaValue(args[0]);
    const QString format = args.isMissing(1) ? QString() : toQString(args[1]);
    const int firstDayOfWeek = args.isMissing(2) ? 1 : vbscript::toLong(args[2]);
    const int firstWeekOfYear = args.isMissing(3) ? 1 : vbscript::toLong(args[3]);
    return fromVbaResult(vbaFormat(expression, format, firstDayOfWeek, firstWeekOfYear));
}

vbscript::Value VBLike::StrConv(vbscript::Context&, vbscript::Args args) {
    if (args[0].isNull()) {
        return vbscript::Value::null();
    }
    const QString text = toQString(args[0]);
    const int conversion = vbscript::toLong(args[1]);
    const int localeId = args.isMissing(2) ? 0 : vbscript::toLong(args[2]);
    return fromVbaResult(vbaStrConv(text, conversion, localeId));
}

} // namespace script

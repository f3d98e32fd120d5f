#pragma once

#include "vbscript/Object.h"

namespace script {

// The object scripts know as "VBA": Format and StrConv, which the script language lacks.
class VBLike final : public vbscript::HostObject<VBLike> {
public:
    std::u16string typeName() const override { return u"VBLike"; }
    std::span<const Member> members() const override;

    // Format(Expression, [FormatString], [FirstDayOfWeek], [FirstWeekOfYear])
    vbscript::Value Format(vbscript::Context& context, vbscript::Args args);
    // StrConv(StringData, Conversion, [LocaleID])
    vbscript::Value StrConv(vbscript::Context& context, vbscript::Args args);
};

} // namespace script

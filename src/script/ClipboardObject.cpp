#include "script/ClipboardObject.h"

#include "script/ValueBridge.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

namespace script {

namespace {

// The optional format argument; only text is offered.
int formatArgument(const vbscript::Args& args, size_t index) {
    return args.isMissing(index) ? ClipboardObject::kTextFormat : vbscript::toLong(args[index]);
}

} // namespace

std::span<const ClipboardObject::Member> ClipboardObject::members() const {
    static const Member table[] = {
        {u"GetText", 0, 1, &ClipboardObject::GetText, nullptr},
        {u"SetText", 1, 2, &ClipboardObject::SetText, nullptr},
        {u"Clear", 0, 0, &ClipboardObject::Clear, nullptr},
        {u"GetFormat", 1, 1, &ClipboardObject::GetFormat, nullptr},
    };
    return table;
}

vbscript::Value ClipboardObject::GetText(vbscript::Context&, vbscript::Args args) {
    if (formatArgument(args, 0) != kTextFormat) {
        return fromQString(QString());
    }
    return fromQString(m_clipboard.text());
}

vbscript::Value ClipboardObject::SetText(vbscript::Context&, vbscript::Args args) {
    // Another format would be stored as something it is not: refuse it.
    if (formatArgument(args, 1) != kTextFormat) {
        vbscript::raiseError(vbscript::err::InvalidCall);
    }
    m_clipboard.setText(toQString(args[0]));
    return vbscript::Value();
}

vbscript::Value ClipboardObject::Clear(vbscript::Context&, vbscript::Args) {
    m_clipboard.clear();
    return vbscript::Value();
}

vbscript::Value ClipboardObject::GetFormat(vbscript::Context&, vbscript::Args args) {
    const int format = vbscript::toLong(args[0]);
    return vbscript::Value::boolean(format == kTextFormat && m_clipboard.hasText());
}

} // namespace script

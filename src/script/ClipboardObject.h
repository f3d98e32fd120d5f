#pragma once

#include "script/ClipboardAccess.h"
#include "vbscript/Object.h"

namespace script {

// The object scripts know as "Clipboard": GetText, SetText, Clear and GetFormat, for text (the
// format vbCFText, 1). The clipboard it works on must outlive it.
class ClipboardObject final : public vbscript::HostObject<ClipboardObject> {
public:
    static constexpr int kTextFormat = 1;

    explicit ClipboardObject(ClipboardAccess& clipboard) : m_clipboard(clipboard) {}

    std::u16string typeName() const override { return u"Clipboard"; }
    std::span<const Member> members() const override;

    vbscript::Value GetText(vbscript::Context& context, vbscript::Args args);
    vbscript::Value SetText(vbscript::Context& context, vbscript::Args args);
    vbscript::Value Clear(vbscript::Context& context, vbscript::Args args);
    vbscript::Value GetFormat(vbscript::Context& context, vbscript::Args args);

private:
    ClipboardAccess& m_clipboard;
};

} // namespace script

#pragma once

// The Folder of GetFolder, GetSpecialFolder and CreateFolder: its path (the default member)
// and name.

#include "vbscript/Object.h"

#include <string>

namespace vbscript {

class FolderObject final : public HostObject<FolderObject> {
public:
    explicit FolderObject(std::u16string path) : m_path(std::move(path)) {}
    std::u16string typeName() const override { return u"Folder"; }
    std::span<const Member> members() const override;

private:
    Value path(Context&, Args) { return Value::string(m_path); }
    Value name(Context&, Args);
    std::u16string m_path;
};

} // namespace vbscript

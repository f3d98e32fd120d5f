#include "vbscript/objects/FolderObject.h"

namespace vbscript {

std::span<const FolderObject::Member> FolderObject::members() const {
    static const Member table[] = {
        {u"Path", 0, 0, &FolderObject::path, nullptr, true},
        {u"Name", 0, 0, &FolderObject::name, nullptr},
    };
    return table;
}

Value FolderObject::name(Context&, Args) {
    std::u16string_view p = m_path;
    while (p.size() > 1 && p.back() == u'/')
        p.remove_suffix(1);
    const size_t slash = p.rfind(u'/');
    return Value::string(slash == std::u16string_view::npos || p.size() == 1 ? p
                                                                             : p.substr(slash + 1));
}

} // namespace vbscript

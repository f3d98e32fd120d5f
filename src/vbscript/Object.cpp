#include "Object.h"

#include "ScriptError.h"
#include "Text.h"

namespace vbscript {

Ref<Enumerator> Object::enumerate(Context&) {
    raiseError(err::NotACollection);
}

namespace detail {

int findMemberByName(std::u16string_view name, const std::u16string_view* names, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (equalsIgnoreCase(name, names[i]))
            return static_cast<int>(i);
    return kNoMember;
}

void raiseNoMember() {
    raiseError(err::NoSuchMember);
}

void checkArgCount(Args args, uint8_t minArgs, uint8_t maxArgs) {
    if (args.size() < minArgs || (maxArgs != 255 && args.size() > maxArgs))
        raiseError(err::WrongArgumentCount);
    for (size_t i = 0; i < minArgs; ++i)
        if (args.isMissing(i))
            raiseError(err::ArgumentNotOptional);
}

} // namespace detail
} // namespace vbscript

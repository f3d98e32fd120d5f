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

void checkArgCount(size_t given, uint8_t minArgs, uint8_t maxArgs) {
    if (given < minArgs || (maxArgs != 255 && given > maxArgs))
        raiseError(err::WrongArgumentCount);
}

void checkRequiredArgs(Args args, uint8_t minArgs) {
    for (size_t i = 0; i < minArgs; ++i)
        if (args.isMissing(i))
            raiseError(err::ArgumentNotOptional);
}

} // namespace detail
} // namespace vbscript

// Array, LBound, UBound.
#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

namespace vbscript {
namespace {

Value arrayFn(Context&, Args a) {
    std::vector<Value> items;
    items.reserve(a.size());
    for (size_t i = 0; i < a.size(); ++i)
        items.push_back(a[i]);
    return Value::array(ArrayData::fromValues(std::move(items)));
}

// The array and the 0-based dimension asked for; raises 13 for no array, 9 for a bad one.
const ArrayData& dimension(Args a, int& dim) {
    if (!a[0].isArray())
        raiseError(err::TypeMismatch);
    const ArrayData& array = *a[0].asArray();
    dim = 0;
    if (!a.isMissing(1)) {
        dim = toLong(a[1]) - 1;
        if (dim < 0)
            raiseError(err::SubscriptOutOfRange);
    }
    if (dim >= array.rank())
        raiseError(err::SubscriptOutOfRange);
    return array;
}

Value lBound(Context&, Args a) {
    int dim;
    const ArrayData& array = dimension(a, dim);
    return Value::longValue(array.lbound(dim));
}

Value uBound(Context&, Args a) {
    int dim;
    const ArrayData& array = dimension(a, dim);
    return Value::longValue(array.ubound(dim));
}

const BuiltinFunction kFunctions[] = {
    {u"Array", 0, kVariadic, &arrayFn},
    {u"LBound", 1, 2, &lBound},
    {u"UBound", 1, 2, &uBound},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(ArrayFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}

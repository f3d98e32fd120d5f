#include "Value.h"

#include "Object.h"
#include "ScriptError.h"

namespace vbscript {

namespace {
const std::u16string kEmptyString;
}

void Value::addRefShared() noexcept {
    switch (m_type) {
    case VarType::String:
        if (m_u.str)
            m_u.str->addRef();
        break;
    case VarType::Object:
        if (m_u.obj)
            m_u.obj->addRef();
        break;
    case VarType::Array:
        if (m_u.arr->locks > 0) {
            // An element is borrowed by reference: a sharing copy would see its writes.
            m_u.arr = m_u.arr->clone().detach();
        } else {
            m_u.arr->addRef();
        }
        break;
    default:
        break;
    }
}

void Value::releaseShared(VarType type, Payload payload) noexcept {
    switch (type) {
    case VarType::String:
        if (payload.str)
            payload.str->release();
        break;
    case VarType::Object:
        if (payload.obj)
            payload.obj->release();
        break;
    case VarType::Array:
        payload.arr->release();
        break;
    default:
        break;
    }
}

Value Value::string(std::u16string text) {
    Value v;
    v.m_type = VarType::String;
    v.m_u.str = text.empty() ? nullptr : Ref<StringData>(new StringData(std::move(text))).detach();
    return v;
}
Value Value::object(Ref<Object> object) {
    Value v;
    v.m_type = VarType::Object;
    v.m_u.obj = object.detach();
    return v;
}
Value Value::nothing() {
    return object(nullptr);
}

Value Value::array(Ref<ArrayData> array) {
    if (!array)
        array = makeRef<ArrayData>();
    Value v;
    v.m_type = VarType::Array;
    v.m_u.arr = array.detach();
    return v;
}

int Value::varTypeCode() const {
    if (m_type == VarType::Array)
        return 8192 + 12;
    return static_cast<int>(m_type);
}

bool Value::isNumeric() const {
    switch (m_type) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
    case VarType::Boolean:
    case VarType::Byte:
        return true;
    default:
        return false;
    }
}

const std::u16string& Value::asString() const {
    return m_u.str ? m_u.str->text : kEmptyString;
}

std::u16string& Value::mutableString() {
    if (!m_u.str) {
        m_u.str = Ref<StringData>(new StringData({})).detach();
    } else if (m_u.str->refCount() > 1) {
        StringData* copy = Ref<StringData>(new StringData(m_u.str->text)).detach();
        m_u.str->release();
        m_u.str = copy;
    }
    return m_u.str->text;
}

ArrayData& Value::unshareArray() {
    ArrayData* copy = m_u.arr->clone().detach();
    m_u.arr->release();
    m_u.arr = copy;
    return *m_u.arr;
}

ArrayData::ArrayData(std::vector<ArrayBound> b) : bounds(std::move(b)) {
    size_t total = bounds.empty() ? 0 : 1;
    for (const auto& d : bounds) {
        if (d.count < 0 ||
            (d.count > 0 && total > (size_t{1} << 25) / static_cast<size_t>(d.count)))
            raiseError(err::OutOfMemory);
        total *= static_cast<size_t>(d.count);
    }
    items.resize(total);
}

Ref<ArrayData> ArrayData::fromValues(std::vector<Value> values) {
    auto a = makeRef<ArrayData>();
    a->bounds = {ArrayBound{0, static_cast<int32_t>(values.size())}};
    a->items = std::move(values);
    return a;
}

Value& ArrayData::at(const int32_t* indexes, int count) {
    if (count != rank())
        raiseError(err::SubscriptOutOfRange);
    size_t offset = 0;
    size_t stride = 1;
    for (int d = 0; d < count; ++d) {
        const int64_t i = static_cast<int64_t>(indexes[d]) - bounds[d].lower;
        if (i < 0 || i >= bounds[d].count)
            raiseError(err::SubscriptOutOfRange);
        offset += static_cast<size_t>(i) * stride;
        stride *= static_cast<size_t>(bounds[d].count);
    }
    return items[offset];
}

Ref<ArrayData> ArrayData::clone() const {
    auto a = makeRef<ArrayData>();
    a->bounds = bounds;
    a->items = items;
    a->fixedSize = fixedSize;
    return a;
}

} // namespace vbscript

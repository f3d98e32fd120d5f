// Format strings and StrConv input come straight from the user's line: no input may crash them.
#include "script/vba/VbaFormat.h"
#include "script/vba/VbaStrConv.h"

#include <QString>

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 10) {
        return 0;
    }
    double number = 0;
    std::memcpy(&number, data, sizeof number);
    const int selector = data[8];
    const int conversion = data[9];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 10),
                                           static_cast<qsizetype>(size - 10));
    const int cut = static_cast<int>(text.indexOf(QChar(u'\x01')));
    const QString format = cut < 0 ? text : text.left(cut);
    const QString valueText = cut < 0 ? QString() : text.mid(cut + 1);

    script::VbaValue value;
    switch (selector % 6) {
    case 0: value = script::VbaValue::fromNumber(number); break;
    case 1: value = script::VbaValue::fromDate(number); break;
    case 2: value = script::VbaValue::fromString(valueText); break;
    case 3: value = script::VbaValue::null(); break;
    case 4: value = script::VbaValue::fromBool(number != 0); break;
    default: value = script::VbaValue::empty(); break;
    }
    (void)script::vbaFormat(value, format, (selector / 6) % 9 - 1, (selector / 54) % 5 - 1);
    (void)script::vbaStrConv(text, conversion);
    (void)script::vbaStrConv(text, conversion | 64);
    (void)script::vbaNumberText(number);
    return 0;
}

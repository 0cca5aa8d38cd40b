// The whole-number field's text rule (NumericField::ReadValue): which texts
// stand for a number, saturation past 32 bits and the clamping to bounds.

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "toolkit/NumericField.h"

using namespace zolt;

namespace {

int IntAt(const uint8_t* data, size_t size, size_t at) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) {
        v = (v << 8) | (at + k < size ? data[at + k] : 0);
    }
    return static_cast<int>(v);
}

// The rule written out independently: an optional minus, then one or more
// ASCII digits and nothing else; the number saturates at the int range and
// then lies within the bounds, unless they are equal.
std::optional<int> Expected(const QString& text, int low, int high) {
    const bool negative = text.startsWith(u'-');
    const qsizetype first = negative ? 1 : 0;
    if (text.size() == first) {
        return std::nullopt;
    }
    long double magnitude = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        magnitude = std::min<long double>(magnitude * 10 + (c - u'0'), 1e12L);
    }
    const long double wide = negative ? -magnitude : magnitude;
    int number = static_cast<int>(std::clamp<long double>(wide, std::numeric_limits<int>::min(),
                                                          std::numeric_limits<int>::max()));
    if (low != high) {
        number = std::clamp(number, std::min(low, high), std::max(low, high));
    }
    return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) {
        return 0;
    }
    const int low = IntAt(data, size, 0);
    const int high = IntAt(data, size, 4);
    const char* text = reinterpret_cast<const char*>(data + 8);
    const qsizetype length = static_cast<qsizetype>(size - 8);
    // What typing, pasting UTF-8 and pasting raw UTF-16 can put in the field.
    std::u16string wide(static_cast<size_t>(length) / 2, u'\0');
    std::memcpy(wide.data(), text, wide.size() * sizeof(char16_t));
    const QString texts[] = {
        QString::fromLatin1(text, length),
        QString::fromUtf8(text, length),
        QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size())),
    };
    for (const QString& t : texts) {
        const std::optional<int> value = NumericField::ReadValue(t, low, high);
        FUZZ_CHECK(value == Expected(t, low, high));
        if (value && low != high) {
            FUZZ_CHECK(*value >= std::min(low, high) && *value <= std::max(low, high));
        }
        if (value) {
            // The number written out reads as itself.
            FUZZ_CHECK(NumericField::ReadValue(QString::number(*value), low, high) == value);
        }
    }
    return 0;
}

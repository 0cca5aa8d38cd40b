#include "util/Text.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zolt {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; the undefined five
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 control.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool IsValidUtf8(const std::string& bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + len > n) {
            return false;
        }
        for (size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

QString FromWindows1252(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0x9F) {
            out.append(QChar(kCp1252High[c - 0x80]));
        } else {
            out.append(QChar(static_cast<char16_t>(c)));
        }
    }
    return out;
}

QString ToQString(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return FromWindows1252(bytes);
}

std::string FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QString PathToQString(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string PathFromQString(const QString& path) {
    return FromQString(path);
}

std::string Trim(const std::string& s) {
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= 32) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 32) {
        --end;
    }
    return s.substr(begin, end - begin);
}

std::string AsciiUpper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return AsciiUpper(c); });
    return s;
}

std::string AsciiLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return AsciiLower(c); });
    return s;
}

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (from > haystack.size()) {
        return std::string::npos;
    }
    if (needle.empty()) {
        return from;
    }
    if (needle.size() > haystack.size() - from) {
        return std::string::npos;
    }
    // Candidates are found with memchr for the first byte in each case, then
    // the rest is compared: settings texts are megabytes with few tags. Each
    // case keeps its next hit, so no stretch of the text is scanned twice.
    const std::size_t last = haystack.size() - needle.size();
    const char cases[2] = {AsciiLower(needle[0]), AsciiUpper(needle[0])};
    const int caseCount = cases[0] == cases[1] ? 1 : 2;
    std::size_t next[2] = {0, 0};
    bool known[2] = {false, false};
    auto find = [&](char c, std::size_t at) {
        const void* hit = std::memchr(haystack.data() + at, c, last + 1 - at);
        return hit == nullptr
                   ? std::string::npos
                   : static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
    };
    for (std::size_t at = from; at <= last;) {
        std::size_t candidate = std::string::npos;
        for (int k = 0; k < caseCount; ++k) {
            if (!known[k] || (next[k] != std::string::npos && next[k] < at)) {
                next[k] = find(cases[k], at);
                known[k] = true;
            }
            candidate = std::min(candidate, next[k]);
        }
        if (candidate == std::string::npos) {
            return std::string::npos;
        }
        const std::string_view rest = needle.substr(1);
        if (std::equal(rest.begin(), rest.end(), haystack.begin() + candidate + 1,
                       [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); })) {
            return candidate;
        }
        at = candidate + 1;
    }
    return std::string::npos;
}

}  // namespace zolt

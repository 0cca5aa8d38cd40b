#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace zolt {

// The one conversion between the core's byte strings and the widgets' text.
// Valid UTF-8 is read as UTF-8; anything else as Windows-1252, the code page
// in which legacy settings texts and news replies are written. File paths
// and process arguments are not such text: they cross through PathToQString
// and PathFromQString below. Wire bytes (form fields, log excerpts) stay
// bytes: QByteArray, never a QString.
QString ToQString(const std::string& bytes);
// Widget text back to bytes: UTF-8.
std::string FromQString(const QString& text);

// The path conversion: file paths, program names and process arguments are
// UTF-8 end to end, never re-read as Windows-1252.
QString PathToQString(const std::string& path);
std::string PathFromQString(const QString& path);

// True when `bytes` is well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(const std::string& bytes);
// Windows-1252 bytes decoded to text; the five undefined codes map to the
// C1 control of the same number, as Windows does.
QString FromWindows1252(const std::string& bytes);

// Removes characters of codes 0 to 32 at both ends.
std::string Trim(const std::string& s);

// Letter case of ASCII letters only: settings texts are in a legacy code
// page whose upper half must compare byte for byte.
constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string AsciiUpper(std::string s);
std::string AsciiLower(std::string s);
// The first `needle` in `haystack` at or after `from`, ASCII letters in
// either case; npos when there is none.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);

}  // namespace zolt

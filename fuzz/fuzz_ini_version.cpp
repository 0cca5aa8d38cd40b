// The update description: the case-insensitive INI reader and the version
// number read from it, as the update check uses them.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "branding/BrandSettings.h"
#include "fuzz/FuzzCheck.h"
#include "news/UpdateCheck.h"
#include "util/IniReader.h"

using namespace zolt;

namespace {

std::string Swapcase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

void CheckVersion(const std::string& text) {
    const float number = VersionNumber(text);
    FUZZ_CHECK(std::isfinite(number));
    FUZZ_CHECK(IsNewerVersion(text) == (number > VersionNumber(AppVersion)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = fuzz::Bytes(data, size);
    const IniReader ini(bytes);
    const std::string version = ini.ReadString("APPLICATION", "Version");
    FUZZ_CHECK(version == ini.ReadString("application", "VERSION"));
    FUZZ_CHECK(version.size() <= bytes.size());
    FUZZ_CHECK(version.find_first_of("\r\n") == std::string::npos);
    CheckVersion(version);
    CheckVersion(bytes);
    (void)ini.ReadString("APPLICATION", "Name");

    // Section and key names taken from the input, the text after them.
    std::string rest = bytes;
    const std::string section = fuzz::TakeUntilNul(rest);
    const std::string key = fuzz::TakeUntilNul(rest);
    const IniReader named(rest);
    const std::string value = named.ReadString(section, key, "\x01missing");
    FUZZ_CHECK(value == named.ReadString(Swapcase(section), Swapcase(key), "\x01missing"));
    return 0;
}

// The settings-text reader: line splitting, the CR LF rebuild and the tag
// reader that walks forward through the text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "branding/ExtractTagValue.h"
#include "branding/SettingsKeys.h"
#include "branding/SettingsText.h"
#include "fuzz/FuzzCheck.h"

using namespace zolt;

namespace {

void CheckLines(const std::string& bytes) {
    const auto lines = SplitSettingsLines(bytes);
    std::string joined;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
        joined += line + "\r\n";
    }
    const std::string text = RebuildSettingsText(bytes);
    FUZZ_CHECK(text == joined);
    // The rebuilt form is what every later read sees: rebuilding it again
    // must not change it.
    FUZZ_CHECK(RebuildSettingsText(text) == text);
    FUZZ_CHECK(text.size() <= bytes.size() + lines.size() + 1);
}

// Reads every element of one tag name in turn, as the list reader does.
void CheckTagWalk(std::string unread, const std::string& opening, const std::string& closing) {
    for (int steps = 0; steps < 64; ++steps) {
        const std::string before = unread;
        const std::size_t open = FindNoCase(before, opening);
        const std::string value = ExtractTagValue(unread, opening, closing);
        // The reader only ever moves forward.
        FUZZ_CHECK(unread.size() <= before.size());
        FUZZ_CHECK(before.compare(before.size() - unread.size(), unread.size(), unread) == 0);
        if (open == std::string::npos) {
            FUZZ_CHECK(value.empty());
            FUZZ_CHECK(unread == before);
            return;
        }
        if (!closing.empty() && FindNoCase(unread, closing) == 0) {
            // Found: the value is what lay between the two tags, and holds no
            // closing tag itself.
            FUZZ_CHECK(before.compare(open + opening.size(), value.size(), value) == 0);
            FUZZ_CHECK(FindNoCase(value, closing) == std::string::npos);
        } else {
            FUZZ_CHECK(value.empty());
        }
        if (unread.size() == before.size()) {
            return;  // empty tags on an empty rest: nothing more to read
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = fuzz::Bytes(data, size);
    CheckLines(bytes);

    const std::string text = RebuildSettingsText(bytes);
    for (const char* name : {"ApplicationName", "AboutText", "LastNewsId"}) {
        const SettingsTag tag{name};
        CheckTagWalk(text, tag.Opening(), tag.Closing());
    }
    CheckTagWalk(text, ListEntryTag("Welcome", 1).Opening(), ListEntryTag("Welcome", 1).Closing());
    // Tags taken from the input itself: a short first line names the element.
    std::string rest = bytes;
    const std::string name = fuzz::TakeUntilNul(rest);
    if (name.size() <= 16) {
        CheckTagWalk(rest, "<%%" + name + "%%>", "<%%/" + name + "%%>");
        CheckTagWalk(rest, name, name);
    }
    return 0;
}

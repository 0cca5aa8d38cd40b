#pragma once

#include <string>

namespace zolt {

// Reads "key=value" lines under "[section]" headers, matching section and key
// names without regard to ASCII letter case, as Windows INI files do (and
// QSettings on Linux does not). Values are trimmed and lose one pair of
// enclosing quotes; lines starting with ";" or "#" are comments. The first
// section of a name holds its keys; a missing key reads as the empty string.
class IniReader {
  public:
    explicit IniReader(std::string text);

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback = "") const;

  private:
    std::string text_;
};

}  // namespace zolt

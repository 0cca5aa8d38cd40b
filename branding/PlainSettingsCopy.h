#pragma once

#include <string>

namespace zolt {

// The decrypted copy "dbsettings.sim" of the settings file. It holds the
// reseller's settings in the clear, so it is made for its owner's eyes only
// and removed when this object dies, whatever happened while it lived.
class PlainSettingsCopy {
  public:
    explicit PlainSettingsCopy(std::string path);
    ~PlainSettingsCopy();
    PlainSettingsCopy(const PlainSettingsCopy&) = delete;
    PlainSettingsCopy& operator=(const PlainSettingsCopy&) = delete;

    // Creates the file empty, readable and writable by its owner only,
    // replacing a copy that a crash may have left; a link planted under its
    // name is removed, never followed. False when the folder does not take
    // the file (read-only, or something else of that name in the way).
    bool Create();

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace zolt

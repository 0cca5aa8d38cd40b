#pragma once

#include <QTemporaryDir>

#include <string>

namespace zolt::test {

// A fresh temporary folder, removed with everything in it when the object dies.
class TempDir {
  public:
    TempDir();
    std::string path() const;
    // Full path of a file inside the folder.
    std::string file(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

  private:
    QTemporaryDir dir_;
};

// Whole-file helpers for tests that work with paths.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Repository root (ZOLT_SOURCE_DIR, set by ctest).
std::string SourceDir();

}  // namespace zolt::test

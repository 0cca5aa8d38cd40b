#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "crypto/ByteStream.h"

namespace zolt {

// Raised when a file cannot be opened; the message names the file and the
// system's reason, `code()` is that reason's errno value.
class FileError : public std::runtime_error {
  public:
    FileError(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

// A ByteStream that reads an existing file of the file system, closed by the
// destructor. It stores nothing: files are written through SaveFileReplacing,
// never through a name that may be a link.
class FileStream : public ByteStream {
  public:
    // Throws FileError: "Cannot open file "<name>". <reason>"; a folder is
    // refused with EISDIR.
    explicit FileStream(const std::string& fileName);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    int64_t Read(uint8_t* buffer, int64_t count) override;
    // Stores nothing: 0.
    int64_t Write(const uint8_t* buffer, int64_t count) override;

  private:
    int fd_ = -1;
};

}  // namespace zolt

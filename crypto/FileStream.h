#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "crypto/ByteStream.h"

namespace zolt {

// Raised when a file cannot be opened or created; the message names the
// file and the system's reason.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A ByteStream over a file of the file system, closed by the destructor.
class FileStream : public ByteStream {
  public:
    enum class Mode {
        OpenRead,  // existing file, read-only
        Create,    // created, or truncated if it exists; read and write
    };

    // Throws FileError: "Cannot open file "<name>". <reason>" for OpenRead,
    // "Cannot create file "<name>". <reason>" for Create.
    FileStream(const std::string& fileName, Mode mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    int64_t Read(uint8_t* buffer, int64_t count) override;
    int64_t Write(const uint8_t* buffer, int64_t count) override;
    // Length of the whole file in bytes, -1 if it cannot be told.
    int64_t Size() const;

  private:
    int fd_ = -1;
};

}  // namespace zolt

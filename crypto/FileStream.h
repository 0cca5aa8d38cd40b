#pragma once

#include <cstdint>
#include <string>

#include "crypto/ByteStream.h"

namespace zolt {

// A ByteStream that reads an existing file of the file system, closed by the
// destructor. It stores nothing: files are written through SaveFileReplacing,
// never through a name that may be a link.
class FileStream : public ByteStream {
  public:
    // A file that cannot be opened, or a folder (EISDIR), gives a stream
    // whose error() says why and whose reads fail.
    explicit FileStream(const std::string& fileName);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    int64_t Read(uint8_t* buffer, int64_t count) override;
    // Stores nothing: 0.
    int64_t Write(const uint8_t* buffer, int64_t count) override;

    // The errno value of the failed open or the last failed read; 0 while
    // all went well.
    int error() const { return error_; }

  private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace zolt

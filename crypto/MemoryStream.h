#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "crypto/ByteStream.h"

namespace zolt {

// A ByteStream over bytes in memory: reads from the position, writes over
// or past the end from the position on.
class MemoryStream : public ByteStream {
  public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

    int64_t Read(uint8_t* buffer, int64_t count) override;
    int64_t Write(const uint8_t* buffer, int64_t count) override;

    const std::string& bytes() const { return bytes_; }
    std::string takeBytes() { return std::move(bytes_); }
    int64_t position() const { return static_cast<int64_t>(position_); }
    void seek(int64_t position) { position_ = static_cast<size_t>(position); }

  private:
    std::string bytes_;
    size_t position_ = 0;
};

}  // namespace zolt

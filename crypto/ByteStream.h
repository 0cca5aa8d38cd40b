#pragma once

#include <cstdint>

namespace zolt {

// The byte streams that the file encryption runs over. The caller owns a
// stream and keeps it open; reads and writes go on from the current position.
class ByteStream {
  public:
    virtual ~ByteStream() = default;
    // Bytes obtained into `buffer`: fewer than `count` only at the end of the
    // data, -1 on a read error.
    virtual int64_t Read(uint8_t* buffer, int64_t count) = 0;
    // Bytes stored from `buffer`: fewer than `count` only on a write error.
    virtual int64_t Write(const uint8_t* buffer, int64_t count) = 0;
};

}  // namespace zolt

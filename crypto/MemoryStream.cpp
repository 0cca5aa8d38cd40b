#include "crypto/MemoryStream.h"

#include <cstring>

namespace zolt {

int64_t MemoryStream::Read(uint8_t* buffer, int64_t count) {
    if (count <= 0 || position_ >= bytes_.size()) {
        return 0;
    }
    const size_t left = bytes_.size() - position_;
    const size_t n = static_cast<uint64_t>(count) < left ? static_cast<size_t>(count) : left;
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return static_cast<int64_t>(n);
}

int64_t MemoryStream::Write(const uint8_t* buffer, int64_t count) {
    if (count <= 0) {
        return 0;
    }
    const size_t n = static_cast<size_t>(count);
    if (position_ + n > bytes_.size()) {
        bytes_.resize(position_ + n);
    }
    std::memcpy(bytes_.data() + position_, buffer, n);
    position_ += n;
    return count;
}

}  // namespace zolt

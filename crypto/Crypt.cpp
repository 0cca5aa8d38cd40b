#include "crypto/Crypt.h"

#include <algorithm>
#include <cstring>

#include "crypto/Wipe.h"

namespace zolt {

TCrypt::TCrypt(const std::string& password, int32_t bufferSize)
    : keyMode_(KeyModeFor(password.size())),
      password_(password),
      bufferSize_(std::max<int32_t>(bufferSize, 0)) {
    std::memset(&context_, 0, sizeof context_);
    buffer_ = std::make_unique<uint8_t[]>(static_cast<size_t>(bufferSize_));
}

TCrypt::~TCrypt() {
    SecureZero(&context_, sizeof context_);
    SecureZero(password_.data(), password_.size());
    SecureZero(buffer_.get(), static_cast<size_t>(bufferSize_));
}

void TCrypt::EncryptBuffer(uint8_t* data, int32_t count) {
    if (count > 0) {
        EncryptData(data, static_cast<size_t>(count), context_);
    }
}

void TCrypt::DecryptBuffer(uint8_t* data, int32_t count) {
    if (count > 0) {
        DecryptData(data, static_cast<size_t>(count), context_);
    }
}

}  // namespace zolt

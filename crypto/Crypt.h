#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "crypto/CryptContext.h"

namespace zolt {

// A password and its keyed context, with the one buffer that data passes
// through in chunks of `bufferSize` bytes.
class TCrypt {
  public:
    // A buffer size below 1 keeps no buffer, and every stream call of the
    // derived classes then fails (std::bad_alloc when the buffer cannot be
    // had, as for any allocation).
    TCrypt(const std::string& password, int32_t bufferSize);
    virtual ~TCrypt();
    TCrypt(const TCrypt&) = delete;
    TCrypt& operator=(const TCrypt&) = delete;

    void EncryptBuffer(uint8_t* data, int32_t count);
    void DecryptBuffer(uint8_t* data, int32_t count);

    KeyMode keyMode() const { return keyMode_; }

  protected:
    KeyMode keyMode_;
    CryptContext context_;
    std::string password_;
    int32_t bufferSize_;
    std::unique_ptr<uint8_t[]> buffer_;
};

}  // namespace zolt

#pragma once

#include <cstdint>
#include <string>

#include "crypto/ByteStream.h"
#include "crypto/Crypt.h"
#include "crypto/RandomPool.h"

namespace zolt {

// Whole-stream encryption in the layout salt, verifier, data, code, with a
// fresh salt for every encryption.
class TEncryption : public TCrypt {
  public:
    TEncryption(const std::string& password, int32_t bufferSize);
    ~TEncryption() override;

    // Encrypts `source` from its position to its end into `destination`.
    // False when a read or write fails, or for a password longer than 128
    // bytes or a buffer size below 1 (then nothing is written).
    [[nodiscard]] bool EncryptStream(ByteStream& source, ByteStream& destination);
    // Decrypts the `size` bytes of an encrypted form that begin at the
    // position of `source`. True only when both the verifier and the code
    // match. Nothing is written when the form is too short, the password or
    // the buffer size is refused or the verifier differs; damaged data is written whole before
    // the code is compared.
    [[nodiscard]] bool DecryptStream(ByteStream& source, ByteStream& destination, int64_t size);

  private:
    RandomPool saltSource_;
};

}  // namespace zolt

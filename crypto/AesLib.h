#pragma once

// The settings-file encryption: AES, SHA-1, HMAC-SHA1, PBKDF2, the salt
// generator, the keyed stream context and the whole-stream classes.

#include "crypto/Aes.h"
#include "crypto/ByteStream.h"
#include "crypto/Crypt.h"
#include "crypto/CryptContext.h"
#include "crypto/Encryption.h"
#include "crypto/FileStream.h"
#include "crypto/Hmac.h"
#include "crypto/MemoryStream.h"
#include "crypto/Pbkdf2.h"
#include "crypto/RandomPool.h"
#include "crypto/Sha1.h"

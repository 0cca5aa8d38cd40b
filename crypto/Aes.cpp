#include "crypto/Aes.h"

#include <cstring>

#include "crypto/AesTables.h"
#include "crypto/Endian.h"

namespace zolt {

namespace {

using namespace aes_tables;

inline uint32_t B0(uint32_t w) {
    return w >> 24;
}
inline uint32_t B1(uint32_t w) {
    return (w >> 16) & 0xff;
}
inline uint32_t B2(uint32_t w) {
    return (w >> 8) & 0xff;
}
inline uint32_t B3(uint32_t w) {
    return w & 0xff;
}

// SubWord(RotWord(w)) and SubWord(w) of the key expansion.
inline uint32_t SubRotWord(uint32_t w) {
    return kTf0[B1(w)] ^ kTf1[B2(w)] ^ kTf2[B3(w)] ^ kTf3[B0(w)];
}
inline uint32_t SubWord(uint32_t w) {
    return kTf0[B0(w)] ^ kTf1[B1(w)] ^ kTf2[B2(w)] ^ kTf3[B3(w)];
}

// One step of the expansion produces Nk new words from the previous Nk.
#define ZOLT_AES_KEY4(i)                                              \
    rk[4 * i + 4] = rk[4 * i] ^ SubRotWord(rk[4 * i + 3]) ^ kRcon[i]; \
    rk[4 * i + 5] = rk[4 * i + 1] ^ rk[4 * i + 4];                    \
    rk[4 * i + 6] = rk[4 * i + 2] ^ rk[4 * i + 5];                    \
    rk[4 * i + 7] = rk[4 * i + 3] ^ rk[4 * i + 6]

#define ZOLT_AES_KEY6_FIRST4(i)                                       \
    rk[6 * i + 6] = rk[6 * i] ^ SubRotWord(rk[6 * i + 5]) ^ kRcon[i]; \
    rk[6 * i + 7] = rk[6 * i + 1] ^ rk[6 * i + 6];                    \
    rk[6 * i + 8] = rk[6 * i + 2] ^ rk[6 * i + 7];                    \
    rk[6 * i + 9] = rk[6 * i + 3] ^ rk[6 * i + 8]
#define ZOLT_AES_KEY6(i)                            \
    ZOLT_AES_KEY6_FIRST4(i);                        \
    rk[6 * i + 10] = rk[6 * i + 4] ^ rk[6 * i + 9]; \
    rk[6 * i + 11] = rk[6 * i + 5] ^ rk[6 * i + 10]

#define ZOLT_AES_KEY8_FIRST4(i)                                       \
    rk[8 * i + 8] = rk[8 * i] ^ SubRotWord(rk[8 * i + 7]) ^ kRcon[i]; \
    rk[8 * i + 9] = rk[8 * i + 1] ^ rk[8 * i + 8];                    \
    rk[8 * i + 10] = rk[8 * i + 2] ^ rk[8 * i + 9];                   \
    rk[8 * i + 11] = rk[8 * i + 3] ^ rk[8 * i + 10]
#define ZOLT_AES_KEY8(i)                                      \
    ZOLT_AES_KEY8_FIRST4(i);                                  \
    rk[8 * i + 12] = rk[8 * i + 4] ^ SubWord(rk[8 * i + 11]); \
    rk[8 * i + 13] = rk[8 * i + 5] ^ rk[8 * i + 12];          \
    rk[8 * i + 14] = rk[8 * i + 6] ^ rk[8 * i + 13];          \
    rk[8 * i + 15] = rk[8 * i + 7] ^ rk[8 * i + 14]

void ExpandKey128(const uint8_t* key, uint32_t* rk) {
    rk[0] = Load32(key);
    rk[1] = Load32(key + 4);
    rk[2] = Load32(key + 8);
    rk[3] = Load32(key + 12);
    ZOLT_AES_KEY4(0);
    ZOLT_AES_KEY4(1);
    ZOLT_AES_KEY4(2);
    ZOLT_AES_KEY4(3);
    ZOLT_AES_KEY4(4);
    ZOLT_AES_KEY4(5);
    ZOLT_AES_KEY4(6);
    ZOLT_AES_KEY4(7);
    ZOLT_AES_KEY4(8);
    ZOLT_AES_KEY4(9);
}

void ExpandKey192(const uint8_t* key, uint32_t* rk) {
    rk[0] = Load32(key);
    rk[1] = Load32(key + 4);
    rk[2] = Load32(key + 8);
    rk[3] = Load32(key + 12);
    rk[4] = Load32(key + 16);
    rk[5] = Load32(key + 20);
    ZOLT_AES_KEY6(0);
    ZOLT_AES_KEY6(1);
    ZOLT_AES_KEY6(2);
    ZOLT_AES_KEY6(3);
    ZOLT_AES_KEY6(4);
    ZOLT_AES_KEY6(5);
    ZOLT_AES_KEY6(6);
    ZOLT_AES_KEY6_FIRST4(7);
}

void ExpandKey256(const uint8_t* key, uint32_t* rk) {
    rk[0] = Load32(key);
    rk[1] = Load32(key + 4);
    rk[2] = Load32(key + 8);
    rk[3] = Load32(key + 12);
    rk[4] = Load32(key + 16);
    rk[5] = Load32(key + 20);
    rk[6] = Load32(key + 24);
    rk[7] = Load32(key + 28);
    ZOLT_AES_KEY8(0);
    ZOLT_AES_KEY8(1);
    ZOLT_AES_KEY8(2);
    ZOLT_AES_KEY8(3);
    ZOLT_AES_KEY8(4);
    ZOLT_AES_KEY8(5);
    ZOLT_AES_KEY8_FIRST4(6);
}

#undef ZOLT_AES_KEY4
#undef ZOLT_AES_KEY6_FIRST4
#undef ZOLT_AES_KEY6
#undef ZOLT_AES_KEY8_FIRST4
#undef ZOLT_AES_KEY8

// Key words for a length in bytes or in bits; 0 for a refused length.
uint32_t KeyWords(uint32_t keyLength) {
    switch (keyLength) {
        case 16:
        case 24:
        case 32:
            return keyLength / 4;
        case 128:
        case 192:
        case 256:
            return keyLength / 32;
        default:
            return 0;
    }
}

// ShiftRows is the choice of state words per table; the round key is added last.
#define ZOLT_AES_EROUND(s, t, r)                                                                \
    t##0 = kTe0[B0(s##0)] ^ kTe1[B1(s##1)] ^ kTe2[B2(s##2)] ^ kTe3[B3(s##3)] ^ rk[4 * (r)];     \
    t##1 = kTe0[B0(s##1)] ^ kTe1[B1(s##2)] ^ kTe2[B2(s##3)] ^ kTe3[B3(s##0)] ^ rk[4 * (r) + 1]; \
    t##2 = kTe0[B0(s##2)] ^ kTe1[B1(s##3)] ^ kTe2[B2(s##0)] ^ kTe3[B3(s##1)] ^ rk[4 * (r) + 2]; \
    t##3 = kTe0[B0(s##3)] ^ kTe1[B1(s##0)] ^ kTe2[B2(s##1)] ^ kTe3[B3(s##2)] ^ rk[4 * (r) + 3]

#define ZOLT_AES_ELAST(s, r)                                                                       \
    Store32(out, kTf0[B0(s##0)] ^ kTf1[B1(s##1)] ^ kTf2[B2(s##2)] ^ kTf3[B3(s##3)] ^ rk[4 * (r)]); \
    Store32(out + 4,                                                                               \
            kTf0[B0(s##1)] ^ kTf1[B1(s##2)] ^ kTf2[B2(s##3)] ^ kTf3[B3(s##0)] ^ rk[4 * (r) + 1]);  \
    Store32(out + 8,                                                                               \
            kTf0[B0(s##2)] ^ kTf1[B1(s##3)] ^ kTf2[B2(s##0)] ^ kTf3[B3(s##1)] ^ rk[4 * (r) + 2]);  \
    Store32(out + 12,                                                                              \
            kTf0[B0(s##3)] ^ kTf1[B1(s##0)] ^ kTf2[B2(s##1)] ^ kTf3[B3(s##2)] ^ rk[4 * (r) + 3])

// Rounds 3 to Nr of the cipher, from the state after round 2.
template <int Rounds>
inline void EncryptFromRound3(const uint32_t* rk, uint32_t s0, uint32_t s1, uint32_t s2,
                              uint32_t s3, uint8_t* out) {
    uint32_t t0, t1, t2, t3;
    ZOLT_AES_EROUND(s, t, 3);
    ZOLT_AES_EROUND(t, s, 4);
    ZOLT_AES_EROUND(s, t, 5);
    ZOLT_AES_EROUND(t, s, 6);
    ZOLT_AES_EROUND(s, t, 7);
    ZOLT_AES_EROUND(t, s, 8);
    ZOLT_AES_EROUND(s, t, 9);
    if constexpr (Rounds == 10) {
        ZOLT_AES_ELAST(t, 10);
    } else {
        ZOLT_AES_EROUND(t, s, 10);
        ZOLT_AES_EROUND(s, t, 11);
        if constexpr (Rounds == 12) {
            ZOLT_AES_ELAST(t, 12);
        } else {
            ZOLT_AES_EROUND(t, s, 12);
            ZOLT_AES_EROUND(s, t, 13);
            ZOLT_AES_ELAST(t, 14);
        }
    }
}

template <int Rounds>
inline void EncryptRounds(const uint32_t* rk, const uint8_t* in, uint8_t* out) {
    uint32_t s0 = Load32(in) ^ rk[0];
    uint32_t s1 = Load32(in + 4) ^ rk[1];
    uint32_t s2 = Load32(in + 8) ^ rk[2];
    uint32_t s3 = Load32(in + 12) ^ rk[3];
    uint32_t t0, t1, t2, t3;
    ZOLT_AES_EROUND(s, t, 1);
    ZOLT_AES_EROUND(t, s, 2);
    EncryptFromRound3<Rounds>(rk, s0, s1, s2, s3, out);
}

// Counter mode over whole blocks. Between two carries out of counter byte 0
// only that byte changes, and it enters round 1 through one table look-up and
// round 2 through four, so the other look-ups of both rounds are done once
// per run of up to 256 blocks.
template <int Rounds>
void CounterRuns(const uint32_t* rk, uint8_t* counter, uint8_t* keystream, uint8_t* data,
                 size_t blocks) {
    while (blocks != 0) {
        for (int i = 0; i < 8; ++i) {
            if (++counter[i] != 0) {
                break;
            }
        }
        const uint32_t first = counter[0];
        const size_t run = blocks < 256 - first ? blocks : 256 - first;

        // Round 1 with byte 0 left out: the state bytes 1 to 15 are fixed.
        const uint32_t s0 = Load32(counter) ^ rk[0];
        const uint32_t s1 = Load32(counter + 4) ^ rk[1];
        const uint32_t s2 = Load32(counter + 8) ^ rk[2];
        const uint32_t s3 = Load32(counter + 12) ^ rk[3];
        const uint32_t c0 = kTe1[B1(s1)] ^ kTe2[B2(s2)] ^ kTe3[B3(s3)] ^ rk[4];
        const uint32_t t1 = kTe0[B0(s1)] ^ kTe1[B1(s2)] ^ kTe2[B2(s3)] ^ kTe3[B3(s0)] ^ rk[5];
        const uint32_t t2 = kTe0[B0(s2)] ^ kTe1[B1(s3)] ^ kTe2[B2(s0)] ^ kTe3[B3(s1)] ^ rk[6];
        const uint32_t t3 = kTe0[B0(s3)] ^ kTe1[B1(s0)] ^ kTe2[B2(s1)] ^ kTe3[B3(s2)] ^ rk[7];
        // Round 2 without the look-ups of the round-1 word t0.
        const uint32_t d0 = kTe1[B1(t1)] ^ kTe2[B2(t2)] ^ kTe3[B3(t3)] ^ rk[8];
        const uint32_t d1 = kTe0[B0(t1)] ^ kTe1[B1(t2)] ^ kTe2[B2(t3)] ^ rk[9];
        const uint32_t d2 = kTe0[B0(t2)] ^ kTe1[B1(t3)] ^ kTe3[B3(t1)] ^ rk[10];
        const uint32_t d3 = kTe0[B0(t3)] ^ kTe2[B2(t1)] ^ kTe3[B3(t2)] ^ rk[11];
        const uint32_t key0 = B0(rk[0]);

        for (size_t i = 0; i < run; ++i) {
            const uint32_t t0 = kTe0[(first + i) ^ key0] ^ c0;
            EncryptFromRound3<Rounds>(rk, kTe0[B0(t0)] ^ d0, kTe3[B3(t0)] ^ d1, kTe2[B2(t0)] ^ d2,
                                      kTe1[B1(t0)] ^ d3, keystream);
            uint64_t d[2], k[2];
            std::memcpy(d, data, 16);
            std::memcpy(k, keystream, 16);
            d[0] ^= k[0];
            d[1] ^= k[1];
            std::memcpy(data, d, 16);
            data += 16;
        }
        counter[0] = static_cast<uint8_t>(first + run - 1);
        blocks -= run;
    }
}

#define ZOLT_AES_DROUND(s, t, r)                                                                \
    t##0 = kTd0[B0(s##0)] ^ kTd1[B1(s##3)] ^ kTd2[B2(s##2)] ^ kTd3[B3(s##1)] ^ rk[4 * (r)];     \
    t##1 = kTd0[B0(s##1)] ^ kTd1[B1(s##0)] ^ kTd2[B2(s##3)] ^ kTd3[B3(s##2)] ^ rk[4 * (r) + 1]; \
    t##2 = kTd0[B0(s##2)] ^ kTd1[B1(s##1)] ^ kTd2[B2(s##0)] ^ kTd3[B3(s##3)] ^ rk[4 * (r) + 2]; \
    t##3 = kTd0[B0(s##3)] ^ kTd1[B1(s##2)] ^ kTd2[B2(s##1)] ^ kTd3[B3(s##0)] ^ rk[4 * (r) + 3]

#define ZOLT_AES_DLAST(s, r)                                                                      \
    Store32(out,                                                                                  \
            kTdf0[B0(s##0)] ^ kTdf1[B1(s##3)] ^ kTdf2[B2(s##2)] ^ kTdf3[B3(s##1)] ^ rk[4 * (r)]); \
    Store32(out + 4, kTdf0[B0(s##1)] ^ kTdf1[B1(s##0)] ^ kTdf2[B2(s##3)] ^ kTdf3[B3(s##2)] ^      \
                         rk[4 * (r) + 1]);                                                        \
    Store32(out + 8, kTdf0[B0(s##2)] ^ kTdf1[B1(s##1)] ^ kTdf2[B2(s##0)] ^ kTdf3[B3(s##3)] ^      \
                         rk[4 * (r) + 2]);                                                        \
    Store32(out + 12, kTdf0[B0(s##3)] ^ kTdf1[B1(s##2)] ^ kTdf2[B2(s##1)] ^ kTdf3[B3(s##0)] ^     \
                          rk[4 * (r) + 3])

template <int Rounds>
inline void DecryptRounds(const uint32_t* rk, const uint8_t* in, uint8_t* out) {
    uint32_t s0 = Load32(in) ^ rk[0];
    uint32_t s1 = Load32(in + 4) ^ rk[1];
    uint32_t s2 = Load32(in + 8) ^ rk[2];
    uint32_t s3 = Load32(in + 12) ^ rk[3];
    uint32_t t0, t1, t2, t3;
    ZOLT_AES_DROUND(s, t, 1);
    ZOLT_AES_DROUND(t, s, 2);
    ZOLT_AES_DROUND(s, t, 3);
    ZOLT_AES_DROUND(t, s, 4);
    ZOLT_AES_DROUND(s, t, 5);
    ZOLT_AES_DROUND(t, s, 6);
    ZOLT_AES_DROUND(s, t, 7);
    ZOLT_AES_DROUND(t, s, 8);
    ZOLT_AES_DROUND(s, t, 9);
    if constexpr (Rounds == 10) {
        ZOLT_AES_DLAST(t, 10);
    } else {
        ZOLT_AES_DROUND(t, s, 10);
        ZOLT_AES_DROUND(s, t, 11);
        if constexpr (Rounds == 12) {
            ZOLT_AES_DLAST(t, 12);
        } else {
            ZOLT_AES_DROUND(t, s, 12);
            ZOLT_AES_DROUND(s, t, 13);
            ZOLT_AES_DLAST(t, 14);
        }
    }
}

#undef ZOLT_AES_EROUND
#undef ZOLT_AES_ELAST
#undef ZOLT_AES_DROUND
#undef ZOLT_AES_DLAST

// The forward expansion shared by both directions; false for a refused length.
bool ExpandKey(const uint8_t* key, uint32_t keyLength, AesSchedule& schedule) {
    schedule.blockDirection = kAesBlockSize;
    switch (KeyWords(keyLength)) {
        case 4:
            ExpandKey128(key, schedule.roundKeys);
            schedule.rounds = 10;
            return true;
        case 6:
            ExpandKey192(key, schedule.roundKeys);
            schedule.rounds = 12;
            return true;
        case 8:
            ExpandKey256(key, schedule.roundKeys);
            schedule.rounds = 14;
            return true;
        default:
            schedule.rounds = 0;
            return false;
    }
}

}  // namespace

int AesSetEncryptKey(const uint8_t* key, uint32_t keyLength, AesSchedule& schedule) {
    if (!ExpandKey(key, keyLength, schedule)) {
        return 0;
    }
    schedule.blockDirection = kAesBlockSize | kAesDirectionEncrypt;
    return 1;
}

int AesSetDecryptKey(const uint8_t* key, uint32_t keyLength, AesSchedule& schedule) {
    if (!ExpandKey(key, keyLength, schedule)) {
        return 0;
    }
    // The equivalent inverse cipher: round keys in reverse order, the inner
    // ones passed through InvMixColumns.
    uint32_t* rk = schedule.roundKeys;
    const uint32_t last = 4 * schedule.rounds;
    for (uint32_t i = 0, j = last; i < j; i += 4, j -= 4) {
        for (uint32_t k = 0; k < 4; ++k) {
            const uint32_t w = rk[i + k];
            rk[i + k] = rk[j + k];
            rk[j + k] = w;
        }
    }
    for (uint32_t i = 4; i < last; ++i) {
        const uint32_t w = rk[i];
        rk[i] = kTm0[B0(w)] ^ kTm1[B1(w)] ^ kTm2[B2(w)] ^ kTm3[B3(w)];
    }
    schedule.blockDirection = kAesBlockSize | kAesDirectionDecrypt;
    return 1;
}

int AesEncryptBlock(const uint8_t* in, uint8_t* out, const AesSchedule& schedule) {
    if ((schedule.blockDirection & 3) != kAesDirectionEncrypt) {
        return 0;
    }
    switch (schedule.rounds) {
        case 10:
            EncryptRounds<10>(schedule.roundKeys, in, out);
            return 1;
        case 12:
            EncryptRounds<12>(schedule.roundKeys, in, out);
            return 1;
        case 14:
            EncryptRounds<14>(schedule.roundKeys, in, out);
            return 1;
        default:
            return 0;
    }
}

namespace aes_detail {

bool CounterBlocks(const AesSchedule& schedule, uint8_t* counter, uint8_t* keystream, uint8_t* data,
                   size_t blocks) {
    if ((schedule.blockDirection & 3) != kAesDirectionEncrypt) {
        return false;
    }
    switch (schedule.rounds) {
        case 10:
            CounterRuns<10>(schedule.roundKeys, counter, keystream, data, blocks);
            return true;
        case 12:
            CounterRuns<12>(schedule.roundKeys, counter, keystream, data, blocks);
            return true;
        case 14:
            CounterRuns<14>(schedule.roundKeys, counter, keystream, data, blocks);
            return true;
        default:
            return false;
    }
}

}  // namespace aes_detail

int AesDecryptBlock(const uint8_t* in, uint8_t* out, const AesSchedule& schedule) {
    if ((schedule.blockDirection & 3) != kAesDirectionDecrypt) {
        return 0;
    }
    switch (schedule.rounds) {
        case 10:
            DecryptRounds<10>(schedule.roundKeys, in, out);
            return 1;
        case 12:
            DecryptRounds<12>(schedule.roundKeys, in, out);
            return 1;
        case 14:
            DecryptRounds<14>(schedule.roundKeys, in, out);
            return 1;
        default:
            return 0;
    }
}

}  // namespace zolt

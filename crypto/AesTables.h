#pragma once

// Lookup tables of the table-driven AES (FIPS-197), derived from the S-box of
// FIPS-197 section 5.1.1 when the program is compiled. Words are read most
// significant byte first, as the state columns are.

#include <array>
#include <cstdint>

namespace zolt::aes_tables {

using Table = std::array<uint32_t, 256>;

// FIPS-197, Figure 7.
inline constexpr std::array<uint8_t, 256> kSbox = {
    0x63, 0x7c, 0x77, 0x7b, 0xf2, 0x6b, 0x6f, 0xc5, 0x30, 0x01, 0x67, 0x2b, 0xfe, 0xd7, 0xab, 0x76,
    0xca, 0x82, 0xc9, 0x7d, 0xfa, 0x59, 0x47, 0xf0, 0xad, 0xd4, 0xa2, 0xaf, 0x9c, 0xa4, 0x72, 0xc0,
    0xb7, 0xfd, 0x93, 0x26, 0x36, 0x3f, 0xf7, 0xcc, 0x34, 0xa5, 0xe5, 0xf1, 0x71, 0xd8, 0x31, 0x15,
    0x04, 0xc7, 0x23, 0xc3, 0x18, 0x96, 0x05, 0x9a, 0x07, 0x12, 0x80, 0xe2, 0xeb, 0x27, 0xb2, 0x75,
    0x09, 0x83, 0x2c, 0x1a, 0x1b, 0x6e, 0x5a, 0xa0, 0x52, 0x3b, 0xd6, 0xb3, 0x29, 0xe3, 0x2f, 0x84,
    0x53, 0xd1, 0x00, 0xed, 0x20, 0xfc, 0xb1, 0x5b, 0x6a, 0xcb, 0xbe, 0x39, 0x4a, 0x4c, 0x58, 0xcf,
    0xd0, 0xef, 0xaa, 0xfb, 0x43, 0x4d, 0x33, 0x85, 0x45, 0xf9, 0x02, 0x7f, 0x50, 0x3c, 0x9f, 0xa8,
    0x51, 0xa3, 0x40, 0x8f, 0x92, 0x9d, 0x38, 0xf5, 0xbc, 0xb6, 0xda, 0x21, 0x10, 0xff, 0xf3, 0xd2,
    0xcd, 0x0c, 0x13, 0xec, 0x5f, 0x97, 0x44, 0x17, 0xc4, 0xa7, 0x7e, 0x3d, 0x64, 0x5d, 0x19, 0x73,
    0x60, 0x81, 0x4f, 0xdc, 0x22, 0x2a, 0x90, 0x88, 0x46, 0xee, 0xb8, 0x14, 0xde, 0x5e, 0x0b, 0xdb,
    0xe0, 0x32, 0x3a, 0x0a, 0x49, 0x06, 0x24, 0x5c, 0xc2, 0xd3, 0xac, 0x62, 0x91, 0x95, 0xe4, 0x79,
    0xe7, 0xc8, 0x37, 0x6d, 0x8d, 0xd5, 0x4e, 0xa9, 0x6c, 0x56, 0xf4, 0xea, 0x65, 0x7a, 0xae, 0x08,
    0xba, 0x78, 0x25, 0x2e, 0x1c, 0xa6, 0xb4, 0xc6, 0xe8, 0xdd, 0x74, 0x1f, 0x4b, 0xbd, 0x8b, 0x8a,
    0x70, 0x3e, 0xb5, 0x66, 0x48, 0x03, 0xf6, 0x0e, 0x61, 0x35, 0x57, 0xb9, 0x86, 0xc1, 0x1d, 0x9e,
    0xe1, 0xf8, 0x98, 0x11, 0x69, 0xd9, 0x8e, 0x94, 0x9b, 0x1e, 0x87, 0xe9, 0xce, 0x55, 0x28, 0xdf,
    0x8c, 0xa1, 0x89, 0x0d, 0xbf, 0xe6, 0x42, 0x68, 0x41, 0x99, 0x2d, 0x0f, 0xb0, 0x54, 0xbb, 0x16,
};

// FIPS-197 section 5.2: the round constants x^(i-1), in the top byte.
inline constexpr std::array<uint32_t, 10> kRcon = {
    0x01000000, 0x02000000, 0x04000000, 0x08000000, 0x10000000,
    0x20000000, 0x40000000, 0x80000000, 0x1b000000, 0x36000000,
};

namespace detail {

constexpr uint8_t Xtime(uint8_t a) {
    return static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1b : 0x00));
}

constexpr uint8_t Mul(uint8_t a, uint8_t b) {
    uint8_t r = 0;
    while (b != 0) {
        if (b & 1) {
            r ^= a;
        }
        a = Xtime(a);
        b >>= 1;
    }
    return r;
}

constexpr uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return (uint32_t{b0} << 24) | (uint32_t{b1} << 16) | (uint32_t{b2} << 8) | uint32_t{b3};
}

constexpr uint32_t RotateRight8(uint32_t w, int times) {
    for (int i = 0; i < times; ++i) {
        w = (w >> 8) | (w << 24);
    }
    return w;
}

constexpr std::array<uint8_t, 256> InverseSbox() {
    std::array<uint8_t, 256> inv{};
    for (int i = 0; i < 256; ++i) {
        inv[kSbox[i]] = static_cast<uint8_t>(i);
    }
    return inv;
}

// SubBytes and MixColumns of one byte in column row 0, rotated to row `row`.
constexpr Table Forward(int row) {
    Table t{};
    for (int i = 0; i < 256; ++i) {
        const uint8_t s = kSbox[i];
        t[i] = RotateRight8(Word(Mul(s, 2), s, s, Mul(s, 3)), row);
    }
    return t;
}

constexpr Table ForwardLast(int row) {
    Table t{};
    for (int i = 0; i < 256; ++i) {
        t[i] = uint32_t{kSbox[i]} << (24 - 8 * row);
    }
    return t;
}

// InvMixColumns of one byte, after InvSubBytes when `substitute` is set.
constexpr Table Inverse(int row, bool substitute) {
    constexpr std::array<uint8_t, 256> inv = InverseSbox();
    Table t{};
    for (int i = 0; i < 256; ++i) {
        const uint8_t s = substitute ? inv[i] : static_cast<uint8_t>(i);
        t[i] = RotateRight8(Word(Mul(s, 14), Mul(s, 9), Mul(s, 13), Mul(s, 11)), row);
    }
    return t;
}

constexpr Table InverseLast(int row) {
    constexpr std::array<uint8_t, 256> inv = InverseSbox();
    Table t{};
    for (int i = 0; i < 256; ++i) {
        t[i] = uint32_t{inv[i]} << (24 - 8 * row);
    }
    return t;
}

}  // namespace detail

// Full rounds of the cipher.
alignas(64) inline constexpr Table kTe0 = detail::Forward(0);
alignas(64) inline constexpr Table kTe1 = detail::Forward(1);
alignas(64) inline constexpr Table kTe2 = detail::Forward(2);
alignas(64) inline constexpr Table kTe3 = detail::Forward(3);
// Final round (and the key expansion): the S-box value in each byte position.
alignas(64) inline constexpr Table kTf0 = detail::ForwardLast(0);
alignas(64) inline constexpr Table kTf1 = detail::ForwardLast(1);
alignas(64) inline constexpr Table kTf2 = detail::ForwardLast(2);
alignas(64) inline constexpr Table kTf3 = detail::ForwardLast(3);
// Full rounds of the inverse cipher.
alignas(64) inline constexpr Table kTd0 = detail::Inverse(0, true);
alignas(64) inline constexpr Table kTd1 = detail::Inverse(1, true);
alignas(64) inline constexpr Table kTd2 = detail::Inverse(2, true);
alignas(64) inline constexpr Table kTd3 = detail::Inverse(3, true);
// Final round of the inverse cipher.
alignas(64) inline constexpr Table kTdf0 = detail::InverseLast(0);
alignas(64) inline constexpr Table kTdf1 = detail::InverseLast(1);
alignas(64) inline constexpr Table kTdf2 = detail::InverseLast(2);
alignas(64) inline constexpr Table kTdf3 = detail::InverseLast(3);
// InvMixColumns for turning encryption round keys into decryption ones.
alignas(64) inline constexpr Table kTm0 = detail::Inverse(0, false);
alignas(64) inline constexpr Table kTm1 = detail::Inverse(1, false);
alignas(64) inline constexpr Table kTm2 = detail::Inverse(2, false);
alignas(64) inline constexpr Table kTm3 = detail::Inverse(3, false);

}  // namespace zolt::aes_tables

#include "hashing/md5.h"

#include <cstring>

#include "hashing/hex.h"

namespace {

constexpr std::uint32_t MD5_INITIAL_STATE[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};

constexpr int MD5_SHIFTS[64] = {
    7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
    14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
    4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21,
};

// floor(2^32 * |sin(i)|) for i = 1 to 64.
constexpr std::uint32_t MD5_CONSTANTS[64] = {
    0xD76AA478, 0xE8C7B756, 0x242070DB, 0xC1BDCEEE, 0xF57C0FAF, 0x4787C62A, 0xA8304613, 0xFD469501,
    0x698098D8, 0x8B44F7AF, 0xFFFF5BB1, 0x895CD7BE, 0x6B901122, 0xFD987193, 0xA679438E, 0x49B40821,
    0xF61E2562, 0xC040B340, 0x265E5A51, 0xE9B6C7AA, 0xD62F105D, 0x02441453, 0xD8A1E681, 0xE7D3FBC8,
    0x21E1CDE6, 0xC33707D6, 0xF4D50D87, 0x455A14ED, 0xA9E3E905, 0xFCEFA3F8, 0x676F02D9, 0x8D2A4C8A,
    0xFFFA3942, 0x8771F681, 0x6D9D6122, 0xFDE5380C, 0xA4BEEA44, 0x4BDECFA9, 0xF6BB4B60, 0xBEBFBC70,
    0x289B7EC6, 0xEAA127FA, 0xD4EF3085, 0x04881D05, 0xD9D4D039, 0xE6DB99E5, 0x1FA27CF8, 0xC4AC5665,
    0xF4292244, 0x432AFF97, 0xAB9423A7, 0xFC93A039, 0x655B59C3, 0x8F0CCC92, 0xFFEFF47D, 0x85845DD1,
    0x6FA87E4F, 0xFE2CE6E0, 0xA3014314, 0x4E0811A1, 0xF7537E82, 0xBD3AF235, 0x2AD7D2BB, 0xEB86D391,
};

inline std::uint32_t RotateLeft(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

inline std::uint32_t LoadLittleEndian(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// One step of RFC 1321 section 3.4, with the auxiliary function split in two: `early` needs only
// c and d, which are ready a step before b is, so it joins the word and the constant off the
// critical path; `late` is the part that waits for b. Every argument but the registers is a
// constant once the rounds are unrolled, so the tables fold into immediates and the rotation into
// one instruction.
template <typename Early, typename Late>
inline void Step(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                 std::uint32_t word, int step, Early early, Late late) {
    a += word + MD5_CONSTANTS[step] + early(c, d);
    a = b + RotateLeft(a + late(b, c, d), MD5_SHIFTS[step]);
}

// The working registers rotate one place per step: the register just written becomes b.
template <typename Early, typename Late, typename WordIndex>
inline void Round(std::uint32_t (&r)[4], const std::uint32_t (&x)[16], int first, Early early,
                  Late late, WordIndex wordIndex) {
#pragma GCC unroll 16
    for (int i = 0; i < 16; i += 4) {
        Step(r[0], r[1], r[2], r[3], x[wordIndex(i)], first + i, early, late);
        Step(r[3], r[0], r[1], r[2], x[wordIndex(i + 1)], first + i + 1, early, late);
        Step(r[2], r[3], r[0], r[1], x[wordIndex(i + 2)], first + i + 2, early, late);
        Step(r[1], r[2], r[3], r[0], x[wordIndex(i + 3)], first + i + 3, early, late);
    }
}

constexpr auto NOTHING_EARLY = [](std::uint32_t, std::uint32_t) { return std::uint32_t{0}; };

void TransformBlock(std::uint32_t (&state)[4], const unsigned char* block) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = LoadLittleEndian(block + 4 * i);
    }
    std::uint32_t r[4] = {state[0], state[1], state[2], state[3]};
    // F(b, c, d) = (b & c) | (~b & d)
    Round(
        r, x, 0, NOTHING_EARLY, [](auto b, auto c, auto d) { return d ^ (b & (c ^ d)); },
        [](int i) { return i; });
    // G(b, c, d) = (b & d) | (c & ~d): the two terms share no bit, so they may be added apart.
    Round(
        r, x, 16, [](auto c, auto d) { return c & ~d; }, [](auto b, auto, auto d) { return b & d; },
        [](int i) { return (5 * i + 1) & 15; });
    // H(b, c, d) = b ^ c ^ d
    Round(
        r, x, 32, NOTHING_EARLY, [](auto b, auto c, auto d) { return b ^ (c ^ d); },
        [](int i) { return (3 * i + 5) & 15; });
    // I(b, c, d) = c ^ (b | ~d)
    Round(
        r, x, 48, NOTHING_EARLY, [](auto b, auto c, auto d) { return c ^ (b | ~d); },
        [](int i) { return (7 * i) & 15; });
    for (int i = 0; i < 4; ++i) {
        state[i] += r[i];
    }
}

}  // namespace

void Md5Init(Md5Context& context) {
    std::memcpy(context.state, MD5_INITIAL_STATE, sizeof context.state);
    context.totalBytes = 0;
    context.blockFill = 0;
}

void Md5Update(Md5Context& context, const unsigned char* bytes, std::size_t count) {
    context.totalBytes += count;
    while (count > 0) {
        if (context.blockFill == 0 && count >= 64) {
            // A copy of constant size compiles to a few vector moves instead of a library call.
            std::memcpy(context.block, bytes, 64);
            TransformBlock(context.state, context.block);
            bytes += 64;
            count -= 64;
            continue;
        }
        const std::size_t room = 64 - context.blockFill;
        const std::size_t n = count < room ? count : room;
        std::memcpy(context.block + context.blockFill, bytes, n);
        bytes += n;
        count -= n;
        context.blockFill += static_cast<std::uint32_t>(n);
        if (context.blockFill == 64) {
            TransformBlock(context.state, context.block);
            context.blockFill = 0;
        }
    }
}

std::string Md5Final(Md5Context& context) {
    const std::uint64_t bitLength = context.totalBytes * 8;
    const unsigned char marker = 0x80;
    const unsigned char zero = 0x00;
    Md5Update(context, &marker, 1);
    while (context.blockFill != 56) {
        Md5Update(context, &zero, 1);
    }
    unsigned char length[8];
    for (int i = 0; i < 8; ++i) {
        length[i] = static_cast<unsigned char>(bitLength >> (8 * i));
    }
    Md5Update(context, length, 8);

    unsigned char digest[16];
    for (int i = 0; i < 16; ++i) {
        digest[i] = static_cast<unsigned char>(context.state[i / 4] >> (8 * (i % 4)));
    }
    return HexUpper(digest, sizeof digest);
}

// CRC-32 by folding with carry-less multiplication.
//
// In the reflected bit order of this CRC, a 128-bit block A that stands d bits before the end of
// the data contributes A(x) * x^d mod P(x) to the remainder. Splitting A into its two 64-bit
// halves, the earlier half H (higher degree) and the later half L, gives
//     A * x^d = H * x^(d+64) + L * x^d   (mod P)
// and replacing x^(d+64) and x^d by their 32-bit remainders modulo P turns the block into two
// 64 x 33-bit carry-less products whose sum is 96 bits long: a block of the same congruence class
// that stands d bits later, where it is simply XORed into the data found there. (The constants are
// shifted left by one, and d reduced by 32, because a reflected product lands one bit and 32 bits
// off.) Folding every 64-byte group four lanes at a time keeps the multiplier busy; what is left at
// the end is one 16-byte block, whose remainder and the last few bytes go through the table.
#include <immintrin.h>
#include <wmmintrin.h>

#include "hashing/crc32.h"

namespace {

// Reflected x^(d+32) mod P and x^(d-32) mod P, shifted left by one, for a fold distance d.
constexpr long long FOLD_128[2] = {0x1751997d0, 0x0ccaa009e};   // d = 128 bits
constexpr long long FOLD_512[2] = {0x154442bd4, 0x1c6e41596};   // d = 512 bits
constexpr long long FOLD_2048[2] = {0x11542778a, 0x1322d1430};  // d = 2048 bits

__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold128(__m128i block, __m128i constants,
                                                                __m128i next) {
    const __m128i earlier = _mm_clmulepi64_si128(block, constants, 0x00);
    const __m128i later = _mm_clmulepi64_si128(block, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(earlier, later), next);
}

__attribute__((target("pclmul,sse4.1"))) inline __m128i Load128(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Folds four lanes of 16 bytes into one and finishes with the table; `lanes` hold the folded
// value of everything before `rest`.
__attribute__((target("pclmul,sse4.1"))) std::uint32_t FinishFourLanes(__m128i (&lanes)[4],
                                                                       const unsigned char* rest,
                                                                       std::size_t restCount) {
    const __m128i by128 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(FOLD_128));
    __m128i folded = Fold128(lanes[0], by128, lanes[1]);
    folded = Fold128(folded, by128, lanes[2]);
    folded = Fold128(folded, by128, lanes[3]);
    while (restCount >= 16) {
        folded = Fold128(folded, by128, Load128(rest));
        rest += 16;
        restCount -= 16;
    }
    alignas(16) unsigned char remainder[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(remainder), folded);
    // The running value was XORed into the first block, so the table starts from zero here.
    return Crc32UpdateTable(Crc32UpdateTable(0, remainder, 16), rest, restCount);
}

__attribute__((target("pclmul,sse4.1"))) void LoadFourLanes(__m128i (&lanes)[4],
                                                            const unsigned char* p,
                                                            std::uint32_t running) {
    for (int i = 0; i < 4; ++i) {
        lanes[i] = Load128(p + 16 * i);
    }
    lanes[0] = _mm_xor_si128(lanes[0], _mm_cvtsi32_si128(static_cast<int>(running)));
}

}  // namespace

__attribute__((target("pclmul,sse4.1"))) std::uint32_t Crc32UpdatePclmul(std::uint32_t running,
                                                                         const unsigned char* bytes,
                                                                         std::size_t count) {
    if (count < 128) {
        return Crc32UpdateTable(running, bytes, count);
    }
    __m128i lanes[4];
    LoadFourLanes(lanes, bytes, running);
    bytes += 64;
    count -= 64;
    const __m128i by512 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(FOLD_512));
    while (count >= 64) {
        for (int i = 0; i < 4; ++i) {
            lanes[i] = Fold128(lanes[i], by512, Load128(bytes + 16 * i));
        }
        bytes += 64;
        count -= 64;
    }
    return FinishFourLanes(lanes, bytes, count);
}

namespace {

__attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul"))) inline __m512i Fold512(
    __m512i block, __m512i constants, __m512i next) {
    const __m512i earlier = _mm512_clmulepi64_epi128(block, constants, 0x00);
    const __m512i later = _mm512_clmulepi64_epi128(block, constants, 0x11);
    return _mm512_ternarylogic_epi64(earlier, later, next, 0x96);  // three-way XOR
}

__attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul"))) inline __m512i Load512(
    const unsigned char* p) {
    return _mm512_loadu_si512(p);
}

__attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul"))) __m512i Broadcast(
    const long long (&constants)[2]) {
    return _mm512_set_epi64(constants[1], constants[0], constants[1], constants[0], constants[1],
                            constants[0], constants[1], constants[0]);
}

}  // namespace

__attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul"))) std::uint32_t Crc32UpdateVpclmul(
    std::uint32_t running, const unsigned char* bytes, std::size_t count) {
    if (count < 512) {
        return Crc32UpdatePclmul(running, bytes, count);
    }
    __m512i lanes[4];
    for (int i = 0; i < 4; ++i) {
        lanes[i] = Load512(bytes + 64 * i);
    }
    lanes[0] = _mm512_xor_si512(
        lanes[0], _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(running))));
    bytes += 256;
    count -= 256;
    const __m512i by2048 = Broadcast(FOLD_2048);
    while (count >= 256) {
        for (int i = 0; i < 4; ++i) {
            lanes[i] = Fold512(lanes[i], by2048, Load512(bytes + 64 * i));
        }
        bytes += 256;
        count -= 256;
    }
    const __m512i by512 = Broadcast(FOLD_512);
    __m512i folded = Fold512(lanes[0], by512, lanes[1]);
    folded = Fold512(folded, by512, lanes[2]);
    folded = Fold512(folded, by512, lanes[3]);
    // Each 128-bit lane of the last register is one of the four lanes of the narrower path.
    alignas(64) unsigned char spilled[64];
    _mm512_store_si512(spilled, folded);
    __m128i quarters[4];
    for (int i = 0; i < 4; ++i) {
        quarters[i] = Load128(spilled + 16 * i);
    }
    return FinishFourLanes(quarters, bytes, count);
}

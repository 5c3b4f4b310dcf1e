#include "hashing/hex.h"

namespace {
constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
}

std::string HexUpper(const unsigned char* bytes, std::size_t count) {
    std::string text(count * 2, '0');
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = HEX_DIGITS[bytes[i] >> 4];
        text[2 * i + 1] = HEX_DIGITS[bytes[i] & 0x0F];
    }
    return text;
}

std::string Hex32Upper(std::uint32_t value) {
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i) {
        text[i] = HEX_DIGITS[value & 0x0F];
        value >>= 4;
    }
    return text;
}

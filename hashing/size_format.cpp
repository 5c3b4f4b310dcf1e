#include "hashing/size_format.h"

#include "hashing/decimal_text.h"

namespace {

constexpr int DOUBLE_MANTISSA_BITS = 53;

// An unsigned value as mantissa × 2^exponent.
struct Binary {
    std::uint64_t mantissa;
    int exponent;
};

int BitLength(std::uint64_t value) {
    int length = 0;
    while (value != 0) {
        ++length;
        value >>= 1;
    }
    return length;
}

// value / 2^shift rounded to the nearest integer, an exact half to the even one.
std::uint64_t ShiftRightHalfToEven(std::uint64_t value, int shift) {
    if (shift == 0) {
        return value;
    }
    const std::uint64_t quotient = value >> shift;
    const std::uint64_t remainder = value & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const bool roundUp = remainder > half || (remainder == half && (quotient & 1) != 0);
    return roundUp ? quotient + 1 : quotient;
}

// The size as the double it converts to: sizes beyond 2^53 lose their lowest bits, rounded to
// even as the conversion does.
Binary AsDouble(std::uint64_t size) {
    const int excess = BitLength(size) - DOUBLE_MANTISSA_BITS;
    if (excess <= 0) {
        return Binary{size, 0};
    }
    Binary value{ShiftRightHalfToEven(size, excess), excess};
    if (value.mantissa >> DOUBLE_MANTISSA_BITS != 0) {
        value.mantissa >>= 1;
        ++value.exponent;
    }
    return value;
}

std::uint64_t PowerOfTen(int exponent) {
    std::uint64_t power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

// size / 2^unitShift with the given number of decimals, as printf("%.Nf") prints it exactly.
std::wstring Figure(std::uint64_t size, int unitShift, int decimals) {
    const Binary value = AsDouble(size);
    const std::uint64_t scale = PowerOfTen(decimals);
    // mantissa < 2^53 and scale <= 100, so the product stays below 2^60.
    const std::uint64_t scaled = value.mantissa * scale;
    const int shift = unitShift - value.exponent;
    const std::uint64_t units = shift >= 0 ? ShiftRightHalfToEven(scaled, shift) : scaled << -shift;
    return DecimalText(units / scale) + L"." + DecimalText(units % scale, decimals);
}

std::wstring WithUnit(std::uint64_t size, int unitShift, int decimals, const wchar_t* unit) {
    return Figure(size, unitShift, decimals) + unit + L" (" + DecimalText(size) + L" 字节)";
}

}  // namespace

std::wstring FileSizeText(std::uint64_t size) {
    constexpr std::uint64_t KIB = std::uint64_t{1} << 10;
    constexpr std::uint64_t MIB = std::uint64_t{1} << 20;
    constexpr std::uint64_t GIB = std::uint64_t{1} << 30;
    if (size < KIB) {
        return DecimalText(size) + L" 字节";
    }
    if (size < MIB) {
        return WithUnit(size, 10, 1, L" KB");
    }
    if (size < GIB) {
        return WithUnit(size, 20, 1, L" MB");
    }
    return WithUnit(size, 30, 2, L" GB");
}

#include <gtest/gtest.h>

#include <cstdint>

#include "hashing/size_format.h"

namespace {

constexpr std::uint64_t KIB = std::uint64_t{1} << 10;
constexpr std::uint64_t MIB = std::uint64_t{1} << 20;
constexpr std::uint64_t GIB = std::uint64_t{1} << 30;

}  // namespace

TEST(FileSizeText, UnitBoundariesGoByTheExactByteCount) {
    EXPECT_EQ(FileSizeText(0), L"0 字节");
    EXPECT_EQ(FileSizeText(1023), L"1023 字节");
    EXPECT_EQ(FileSizeText(1024), L"1.0 KB (1024 字节)");
    EXPECT_EQ(FileSizeText(MIB - 1), L"1024.0 KB (1048575 字节)");
    EXPECT_EQ(FileSizeText(MIB), L"1.0 MB (1048576 字节)");
    EXPECT_EQ(FileSizeText(GIB - 1), L"1024.0 MB (1073741823 字节)");
    EXPECT_EQ(FileSizeText(GIB), L"1.00 GB (1073741824 字节)");
    EXPECT_EQ(FileSizeText(5 * GIB + 123), L"5.00 GB (5368709243 字节)");
}

// Exact halves go to the even digit, whichever C runtime would otherwise have printed them.
TEST(FileSizeText, ExactHalvesRoundToEven) {
    EXPECT_EQ(FileSizeText(1280), L"1.2 KB (1280 字节)");
    EXPECT_EQ(FileSizeText(1792), L"1.8 KB (1792 字节)");
    EXPECT_EQ(FileSizeText(2560), L"2.5 KB (2560 字节)");
    EXPECT_EQ(FileSizeText(2 * KIB + KIB / 4), L"2.2 KB (2304 字节)");
    EXPECT_EQ(FileSizeText(MIB + MIB / 4), L"1.2 MB (1310720 字节)");
    EXPECT_EQ(FileSizeText(MIB + 3 * MIB / 4), L"1.8 MB (1835008 字节)");
    EXPECT_EQ(FileSizeText(9 * (GIB / 8)), L"1.12 GB (1207959552 字节)");
    EXPECT_EQ(FileSizeText(11 * (GIB / 8)), L"1.38 GB (1476395008 字节)");
}

TEST(FileSizeText, NearestFigureOtherwise) {
    EXPECT_EQ(FileSizeText(1075), L"1.0 KB (1075 字节)");  // 1.0498...
    EXPECT_EQ(FileSizeText(1076), L"1.1 KB (1076 字节)");  // 1.0507...
    EXPECT_EQ(FileSizeText(10239), L"10.0 KB (10239 字节)");
    EXPECT_EQ(FileSizeText(1572864), L"1.5 MB (1572864 字节)");
    EXPECT_EQ(FileSizeText(GIB + GIB / 200 + 1), L"1.01 GB (1079110534 字节)");
    EXPECT_EQ(FileSizeText(GIB + GIB / 200 - 1), L"1.00 GB (1079110532 字节)");
}

// Beyond 2^53 the figure is that of the size as a double, as the printed format defines it.
TEST(FileSizeText, LargestSizes) {
    EXPECT_EQ(FileSizeText(UINT64_MAX), L"17179869184.00 GB (18446744073709551615 字节)");
    EXPECT_EQ(FileSizeText((std::uint64_t{1} << 53) + 1), L"8388608.00 GB (9007199254740993 字节)");
}

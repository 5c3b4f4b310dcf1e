#include <gtest/gtest.h>

#include <random>

#include "hashing/crc32.h"
#include "hashing/size_format.h"
#include "tests/native/references.h"

namespace {

std::vector<unsigned char> RandomBytes(std::size_t count, std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<unsigned char> bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<unsigned char>(generator());
    }
    return bytes;
}

std::vector<std::size_t> RandomPieces(std::size_t total, std::mt19937& generator,
                                      std::size_t largest) {
    std::vector<std::size_t> pieces;
    while (total > 0) {
        const std::size_t piece = std::min<std::size_t>(generator() % (largest + 1), total);
        pieces.push_back(piece);
        total -= piece;
    }
    return pieces;
}

}  // namespace

TEST(NativeCores, EveryCrcPathAndMd5AgreeWithZlibAndOpenSsl) {
    std::mt19937 generator(1);
    for (std::size_t length :
         {0, 1, 15, 16, 63, 64, 127, 128, 255, 256, 511, 512, 513, 4096, 100000, 2097152 + 3}) {
        // An exact-size heap block, so that any read past its end trips the address sanitizer.
        const std::vector<unsigned char> bytes =
            RandomBytes(length, static_cast<std::uint32_t>(length));
        const std::vector<std::size_t> pieces = RandomPieces(length, generator, 1000);
        for (std::uint32_t crc : CrcOfEveryPath(bytes.data(), pieces)) {
            EXPECT_EQ(crc, ReferenceCrc32(bytes.data(), length)) << length;
        }
        EXPECT_EQ(Md5InPieces(bytes.data(), pieces), ReferenceMd5(bytes.data(), length)) << length;
    }
}

TEST(NativeCores, SizeTextMatchesTheExactDecimalReference) {
    std::mt19937_64 generator(2);
    std::vector<std::uint64_t> sizes = {0,       1023,       1024,       1280,       1792, 1048575,
                                        1048576, 1073741823, 1073741824, 5368709120, ~0ull};
    for (int i = 0; i < 20000; ++i) {
        sizes.push_back(generator() >> (generator() % 64));
    }
    for (std::uint64_t size : sizes) {
        ASSERT_EQ(FileSizeText(size), ReferenceSizeText(size)) << size;
    }
}

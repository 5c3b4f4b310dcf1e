#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/app_flags.h"
#include "hashing/crc32.h"
#include "hashing/hex.h"
#include "tests/support/temp_files.h"

namespace {

std::string DigestOfFile(const TempDir& folder, const Bytes& bytes) {
    const std::wstring path = folder.File(L"data.bin");
    WriteBytes(path, bytes);
    return Crc32Digest(path, bytes.size());
}

}  // namespace

// Every test runs in a fresh process, so this one sees the table before any request built it.
TEST(Crc32Table, FirstRequestBuildsTheTableEvenWhenItsFileCannotBeOpened) {
    ASSERT_FALSE(crcTableReady);
    TempDir folder;
    EXPECT_EQ(Crc32Digest(folder.File(L"missing.bin"), 0), "");
    EXPECT_TRUE(crcTableReady);
    EXPECT_EQ(Crc32Table[1], 0x77073096u);
    EXPECT_EQ(Crc32Table[128], 0xEDB88320u);
    EXPECT_EQ(Crc32Table[255], 0x2D02EF8Du);
}

TEST(Crc32Table, IsBuiltOncePerProcess) {
    TempDir folder;
    Crc32Digest(folder.File(L"missing.bin"), 0);
    const std::uint32_t original = Crc32Table[7];
    // A rebuild would restore the entry; a marker that survives shows there was none.
    Crc32Table[7] = 0x12345678;
    DigestOfFile(folder, BytesOf("abc"));
    EXPECT_EQ(Crc32Table[7], 0x12345678u);
    Crc32Table[7] = original;
}

TEST(Crc32Digest, KnownValues) {
    TempDir folder;
    EXPECT_EQ(DigestOfFile(folder, BytesOf("123456789")), "CBF43926");
    EXPECT_EQ(DigestOfFile(folder, Bytes()), "00000000");
}

TEST(Crc32Digest, KeepsLeadingZeros) {
    Bytes small{0, 0, 0, 0};
    for (std::uint32_t i = 0; ZlibCrc32(small) >= 0x10000000; ++i) {
        small.assign({static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8), 0, 0});
    }
    TempDir folder;
    const std::string text = DigestOfFile(folder, small);
    ASSERT_EQ(text.size(), 8u);
    EXPECT_EQ(text[0], '0');
    EXPECT_EQ(text, Hex32Upper(ZlibCrc32(small)));
}

TEST(Crc32Digest, AgreesWithZlibAroundTheChunkBoundary) {
    TempDir folder;
    const std::size_t mib = 1 << 20;
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, 2 * mib - 1, 2 * mib, 2 * mib + 1, 5 * mib + 3}) {
        const Bytes bytes = RandomBytes(size, static_cast<std::uint32_t>(size));
        EXPECT_EQ(DigestOfFile(folder, bytes), Hex32Upper(ZlibCrc32(bytes))) << size;
    }
}

TEST(Crc32Update, AnySplitOfTheInputGivesTheSameValue) {
    Crc32Digest(L"", 0);  // builds the table
    const Bytes bytes = RandomBytes(10000, 42);
    const std::uint32_t whole = Crc32Update(CRC32_INITIAL, bytes.data(), bytes.size());
    EXPECT_EQ(whole ^ CRC32_INITIAL, ZlibCrc32(bytes));
    std::mt19937 generator(7);
    for (int round = 0; round < 50; ++round) {
        std::uint32_t running = CRC32_INITIAL;
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const std::size_t piece =
                std::min<std::size_t>(generator() % 300, bytes.size() - offset);
            running = Crc32Update(running, bytes.data() + offset, piece);
            offset += piece;
        }
        EXPECT_EQ(running, whole);
    }
}

class Crc32PathTest : public ::testing::TestWithParam<Crc32Path> {
  protected:
    void SetUp() override {
        if (!Crc32PathSupported(GetParam())) {
            GTEST_SKIP() << "this processor lacks the instructions of this path";
        }
        BuildCrc32Table();
    }
    std::uint32_t Crc(const unsigned char* bytes, std::size_t count,
                      std::uint32_t running = CRC32_INITIAL) {
        return Crc32UpdateWith(GetParam(), running, bytes, count);
    }
};

TEST_P(Crc32PathTest, AgreesWithZlibForEveryLengthAndAlignment) {
    const Bytes bytes = RandomBytes(4096 + 64, 99);
    for (std::size_t start = 0; start < 16; start += 5) {
        for (std::size_t length = 0; length <= 4096; ++length) {
            const Bytes piece(bytes.begin() + start, bytes.begin() + start + length);
            ASSERT_EQ(Crc(bytes.data() + start, length) ^ CRC32_INITIAL, ZlibCrc32(piece))
                << "start " << start << ", length " << length;
        }
    }
}

TEST_P(Crc32PathTest, AnySplitMatchesTheTable) {
    const Bytes bytes = RandomBytes(3 * (1 << 20) + 77, 5);
    const std::uint32_t table = Crc32UpdateTable(CRC32_INITIAL, bytes.data(), bytes.size());
    std::mt19937 generator(13);
    for (int round = 0; round < 20; ++round) {
        std::uint32_t running = CRC32_INITIAL;
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const std::size_t piece = std::min<std::size_t>(
                generator() % (round < 10 ? 5000 : 1 << 21), bytes.size() - offset);
            running = Crc(bytes.data() + offset, piece, running);
            offset += piece;
        }
        EXPECT_EQ(running, table);
    }
}

std::string PathName(const ::testing::TestParamInfo<Crc32Path>& info) {
    switch (info.param) {
        case Crc32Path::Pclmul:
            return "Pclmul";
        case Crc32Path::Vpclmul:
            return "Vpclmul";
        case Crc32Path::Table:
            break;
    }
    return "Table";
}

INSTANTIATE_TEST_SUITE_P(EveryPath, Crc32PathTest,
                         ::testing::Values(Crc32Path::Table, Crc32Path::Pclmul, Crc32Path::Vpclmul),
                         PathName);

#include <gtest/gtest.h>

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <random>

#include "hashing/hex.h"
#include "hashing/md5.h"
#include "tests/support/temp_files.h"

namespace {

std::string Md5Of(const Bytes& bytes) {
    Md5Context context;
    Md5Init(context);
    Md5Update(context, bytes.data(), bytes.size());
    return Md5Final(context);
}

// The platform's own MD5, an implementation independent of ours.
std::string CngMd5Of(const Bytes& bytes) {
    BCRYPT_ALG_HANDLE provider = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&provider, BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
        ADD_FAILURE() << "the CNG MD5 provider cannot be opened";
        return "";
    }
    unsigned char digest[16];
    BCRYPT_HASH_HANDLE hash = nullptr;
    BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0);
    BCryptHashData(hash, const_cast<unsigned char*>(bytes.data()), static_cast<ULONG>(bytes.size()),
                   0);
    BCryptFinishHash(hash, digest, sizeof digest, 0);
    BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(provider, 0);
    return HexUpper(digest, sizeof digest);
}

std::string FileMd5Of(const Bytes& bytes) {
    TempDir folder;
    const std::wstring path = folder.File(L"data.bin");
    WriteBytes(path, bytes);
    return BuiltinMd5Digest(path, bytes.size());
}

}  // namespace

TEST(Md5, Rfc1321TestSuite) {
    EXPECT_EQ(Md5Of(BytesOf("")), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Md5Of(BytesOf("a")), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(Md5Of(BytesOf("abc")), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(Md5Of(BytesOf("message digest")), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(Md5Of(BytesOf("abcdefghijklmnopqrstuvwxyz")), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(Md5Of(BytesOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(Md5Of(BytesOf("1234567890123456789012345678901234567890"
                            "1234567890123456789012345678901234567890")),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(Md5, OneMillionA) {
    EXPECT_EQ(FileMd5Of(Bytes(1000000, 'a')), "7707D6AE4E027C70EEA2A935C2296F21");
}

// Past 2^32 bytes, beyond what 32 bits count of its bytes, or of its bits from 2^29 bytes on. The
// digest is that of md5sum (GNU coreutils) over the same zeros.
TEST(Md5, CountsPast32Bits) {
    const Bytes zeros(1 << 21);
    Md5Context context;
    Md5Init(context);
    for (std::uint64_t left = (1ull << 32) + (1ull << 29) + 3; left > 0;) {
        const std::size_t count = std::min<std::uint64_t>(left, zeros.size());
        Md5Update(context, zeros.data(), count);
        left -= count;
    }
    EXPECT_EQ(Md5Final(context), "39065F2851C384E961DC9273BA634A73");
}

TEST(Md5, PaddingBoundariesAgreeWithCng) {
    for (std::size_t size : {55, 56, 57, 63, 64, 65, 119, 120, 128}) {
        const Bytes bytes = RandomBytes(size, static_cast<std::uint32_t>(size));
        EXPECT_EQ(Md5Of(bytes), CngMd5Of(bytes)) << size;
        EXPECT_EQ(FileMd5Of(bytes), CngMd5Of(bytes)) << size;
    }
}

TEST(Md5, FinalLeavesNoPartialBlock) {
    for (std::size_t size : {0, 55, 56, 64}) {
        Md5Context context;
        Md5Init(context);
        const Bytes bytes(size, 0x5A);
        Md5Update(context, bytes.data(), bytes.size());
        Md5Final(context);
        EXPECT_EQ(context.blockFill, 0u) << size;
    }
}

TEST(Md5, AnySplitOfTheInputGivesTheSameDigest) {
    const Bytes bytes = RandomBytes(5000, 3);
    const std::string whole = CngMd5Of(bytes);
    std::mt19937 generator(11);
    for (int round = 0; round < 50; ++round) {
        Md5Context context;
        Md5Init(context);
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const std::size_t piece =
                std::min<std::size_t>(generator() % 200, bytes.size() - offset);
            Md5Update(context, bytes.data() + offset, piece);
            offset += piece;
        }
        EXPECT_EQ(Md5Final(context), whole);
    }
}

TEST(BuiltinMd5Digest, AgreesWithCngAroundTheChunkBoundary) {
    const std::size_t mib = 1 << 20;
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, 2 * mib - 1, 2 * mib + 1, 5 * mib + 3}) {
        const Bytes bytes = RandomBytes(size, static_cast<std::uint32_t>(size) + 1);
        EXPECT_EQ(FileMd5Of(bytes), CngMd5Of(bytes)) << size;
    }
}

TEST(BuiltinMd5Digest, MissingFileGivesNoText) {
    TempDir folder;
    EXPECT_EQ(BuiltinMd5Digest(folder.File(L"missing.bin"), 0), "");
}

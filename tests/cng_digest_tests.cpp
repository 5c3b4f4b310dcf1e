#include <gtest/gtest.h>

#include <windows.h>
#include <bcrypt.h>

#include "app/app_flags.h"
#include "hashing/cng_digest.h"
#include "hashing/file_pass.h"
#include "hashing/md5.h"
#include "tests/support/temp_files.h"

namespace {

struct KnownAnswer {
    const char* message;
    const char* md5;
    const char* sha1;
    const char* sha256;
};

// RFC 1321 for MD5, FIPS 180 for SHA-1 and SHA-256.
const KnownAnswer KNOWN_ANSWERS[] = {
    {"", "D41D8CD98F00B204E9800998ECF8427E", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709",
     "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855"},
    {"abc", "900150983CD24FB0D6963F7D28E17F72", "A9993E364706816ABA3E25717850C26C9CD0D89D",
     "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "8215EF0796A20BCAAAE116D3876C664A",
     "84983E441C3BD26EBAAE4AA1F95129E5E54670F1",
     "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1"},
};

class CngDigestTest : public ::testing::Test {
  protected:
    void TearDown() override { stopRequested = false; }

    std::wstring MakeFile(const Bytes& bytes) {
        const std::wstring path = folder.File(L"data" + std::to_wstring(fileCount++) + L".bin");
        WriteBytes(path, bytes);
        return path;
    }

    TempDir folder;
    int fileCount = 0;
};

std::string DigestOf(const std::wstring& path, const wchar_t* identifier, std::uint64_t size) {
    const CngDigestResult result = CngDigest(path, identifier, size);
    EXPECT_TRUE(result.providerOpened);
    return result.digestText;
}

std::string BuiltinMd5Of(const Bytes& bytes) {
    Md5Context context;
    Md5Init(context);
    Md5Update(context, bytes.data(), bytes.size());
    return Md5Final(context);
}

}  // namespace

TEST_F(CngDigestTest, PublishedVectorsInUppercase) {
    for (const KnownAnswer& answer : KNOWN_ANSWERS) {
        const Bytes message = BytesOf(answer.message);
        const std::wstring path = MakeFile(message);
        EXPECT_EQ(DigestOf(path, cngAlgorithmIdentifiers[Md5], message.size()), answer.md5);
        EXPECT_EQ(DigestOf(path, cngAlgorithmIdentifiers[Sha1], message.size()), answer.sha1);
        EXPECT_EQ(DigestOf(path, cngAlgorithmIdentifiers[Sha256], message.size()), answer.sha256);
    }
}

TEST_F(CngDigestTest, MillionLettersA) {
    const std::wstring path = MakeFile(Bytes(1000000, 'a'));
    EXPECT_EQ(DigestOf(path, L"MD5", 1000000), "7707D6AE4E027C70EEA2A935C2296F21");
    EXPECT_EQ(DigestOf(path, L"SHA1", 1000000), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
    EXPECT_EQ(DigestOf(path, L"SHA256", 1000000),
              "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
}

// Several chunks, the last one short: every byte must reach the hash once and in order.
TEST_F(CngDigestTest, FileOfSeveralChunksMatchesTheBuiltinMd5) {
    const Bytes bytes = RandomBytes(2 * FILE_CHUNK_SIZE + 12345, 9);
    const std::wstring path = MakeFile(bytes);
    EXPECT_EQ(DigestOf(path, L"MD5", bytes.size()), BuiltinMd5Of(bytes));
    EXPECT_EQ(DigestOf(path, L"SHA1", bytes.size()).size(), 40u);
    EXPECT_EQ(DigestOf(path, L"SHA256", bytes.size()).size(), 64u);
}

TEST_F(CngDigestTest, UnreadableFileGivesTheEmptyTextWithTheProviderOpened) {
    for (const std::wstring& path : {folder.File(L"missing.bin"), folder.Path()}) {
        for (const wchar_t* identifier : cngAlgorithmIdentifiers) {
            const CngDigestResult result = CngDigest(path, identifier, 0);
            EXPECT_TRUE(result.providerOpened);
            EXPECT_EQ(result.digestText, "");
        }
    }
}

TEST_F(CngDigestTest, UnknownProviderIsReportedAsNotOpened) {
    const CngDigestResult result = CngDigest(MakeFile(BytesOf("abc")), L"NO-SUCH-HASH", 3);
    EXPECT_FALSE(result.providerOpened);
    EXPECT_EQ(result.digestText, "");
}

// A provider that opens but hashes nothing: the creation fails and no text comes out of it.
TEST_F(CngDigestTest, ProviderThatIsNoHashGivesTheEmptyText) {
    const CngDigestResult result = CngDigest(MakeFile(BytesOf("abc")), BCRYPT_AES_ALGORITHM, 3);
    EXPECT_TRUE(result.providerOpened);
    EXPECT_EQ(result.digestText, "");
}

TEST_F(CngDigestTest, StoppedPassGivesNoDigestOfPartOfTheFile) {
    const std::wstring path = MakeFile(RandomBytes(3 * FILE_CHUNK_SIZE, 4));
    stopRequested = true;
    for (const wchar_t* identifier : cngAlgorithmIdentifiers) {
        const CngDigestResult result = CngDigest(path, identifier, 3 * FILE_CHUNK_SIZE);
        EXPECT_TRUE(result.providerOpened);
        EXPECT_EQ(result.digestText, "");
    }
}

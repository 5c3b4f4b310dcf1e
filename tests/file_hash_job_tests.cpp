#include <gtest/gtest.h>

#include <windows.h>
#include <bcrypt.h>

#include "app/app_state.h"
#include "hashing/cng_digest.h"
#include "hashing/file_hash_job.h"
#include "hashing/file_pass.h"
#include "hashing/hex.h"
#include "hashing/md5.h"
#include "hashing/report_pane.h"
#include "tests/support/report_blocks.h"

namespace {

const std::wstring ABC_DETAILS = L"大小: 3 字节\r\n" + StampLine() + L"\r\n";
const std::wstring ABC_MD5 = L"MD5     : 900150983CD24FB0D6963F7D28E17F72\r\n";
const std::wstring ABC_SHA1 = L"SHA-1   : A9993E364706816ABA3E25717850C26C9CD0D89D\r\n";
const std::wstring ABC_SHA256 =
    L"SHA-256 : BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD\r\n";
const std::wstring ABC_CRC32 = L"CRC32   : 352441C2\r\n";

constexpr std::uint64_t FIVE_MIB = 5 * 1048576;

class FileHashJobTest : public ::testing::Test {
  protected:
    // As the program starts: no report yet, no stop, the strip at 0.
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        progressPercent = 0;
    }
    void TearDown() override {
        stopRequested = false;
        cngAlgorithmIdentifiers[Md5] = BCRYPT_MD5_ALGORITHM;
    }

    std::wstring MakeFile(const std::wstring& name, const Bytes& bytes) {
        return MakeStampedFile(folder.File(name), bytes);
    }

    std::wstring AbcFile() { return MakeFile(L"abc.txt", BytesOf("abc")); }

    void CheckOnly(std::initializer_list<AlgorithmKind> kinds) {
        for (int kind = Md5; kind <= Crc32; ++kind) {
            window.SetChecked(static_cast<AlgorithmKind>(kind), false);
        }
        for (AlgorithmKind kind : kinds) {
            window.SetChecked(kind, true);
        }
    }

    std::vector<std::int32_t> PaintedPercents() const {
        std::vector<std::int32_t> percents;
        for (const StripPaint& paint : window.StripPaints()) {
            percents.push_back(paint.percent);
        }
        return percents;
    }

    void ExpectButtonsOfAFinishedJob() {
        EXPECT_TRUE(IsEnabled(browseButton));
        EXPECT_FALSE(IsEnabled(stopButton));
        EXPECT_TRUE(IsEnabled(clearButton));
        EXPECT_TRUE(IsEnabled(copyButton));
        EXPECT_TRUE(IsEnabled(saveButton));
    }

    TempDir folder;
    TestMainWindow window;
};

}  // namespace

TEST_F(FileHashJobTest, FirstBlockReplacesTheHintAndHoldsEveryCheckedDigest) {
    const std::wstring path = AbcFile();
    ASSERT_EQ(Hex32Upper(ZlibCrc32(BytesOf("abc"))), "352441C2");
    ASSERT_EQ(ReadReportText(), L"hint");
    FileHashJob(path);
    EXPECT_EQ(ReadReportText(), L"文件: " + path + L"\r\n" + ABC_DETAILS + ABC_MD5 + ABC_SHA1 +
                                    ABC_SHA256 + ABC_CRC32 + DONE);
    EXPECT_TRUE(reportStarted);
    EXPECT_FALSE(jobRunning);
    EXPECT_FALSE(stopRequested);
    EXPECT_EQ(progressPercent, 100);
    ExpectButtonsOfAFinishedJob();
    // No handle is left to keep the deleted file, and so its folder, until the program ends.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_TRUE(RemoveDirectoryW(folder.Path().c_str()));
}

TEST_F(FileHashJobTest, LaterBlocksFollowAnEmptyLineAndTheSeparator) {
    const std::wstring first = AbcFile();
    const std::wstring second = MakeFile(L"empty.bin", Bytes());
    CheckOnly({Crc32});
    FileHashJob(first);
    FileHashJob(second);
    EXPECT_EQ(ReadReportText(), L"文件: " + first + L"\r\n" + ABC_DETAILS + ABC_CRC32 + DONE +
                                    SEPARATOR + StampedDetails(second, L"0 字节") +
                                    L"CRC32   : 00000000\r\n" + DONE);
}

TEST_F(FileHashJobTest, OnlyTheCheckedAlgorithmsInTheirFixedOrder) {
    const std::wstring path = AbcFile();
    CheckOnly({Crc32, Md5});
    FileHashJob(path);
    CheckOnly({Sha256});
    FileHashJob(path);
    const std::wstring pathLine = L"文件: " + path + L"\r\n";
    EXPECT_EQ(ReadReportText(), pathLine + ABC_DETAILS + ABC_MD5 + ABC_CRC32 + DONE + SEPARATOR +
                                    pathLine + ABC_DETAILS + ABC_SHA256 + DONE);
}

TEST_F(FileHashJobTest, NoAlgorithmCheckedStillCompletesTheBlock) {
    const std::wstring path = AbcFile();
    CheckOnly({});
    FileHashJob(path);
    EXPECT_EQ(ReadReportText(), L"文件: " + path + L"\r\n" + ABC_DETAILS + DONE);
    EXPECT_EQ(PaintedPercents(), (std::vector<std::int32_t>{100}));
    ExpectButtonsOfAFinishedJob();
}

TEST_F(FileHashJobTest, MissingFileHasOnlyItsPathLine) {
    const std::wstring path = folder.File(L"missing.bin");
    FileHashJob(path);
    EXPECT_EQ(ReadReportText(), L"文件: " + path + L"\r\n\r\n" + DONE);
    EXPECT_EQ(PaintedPercents(), (std::vector<std::int32_t>{0, 0, 0, 0, 100}));
}

TEST_F(FileHashJobTest, EmptyFileGivesTheDigestsOfNothingAndNoProgressDuringThePasses) {
    const std::wstring path = MakeFile(L"empty.bin", Bytes());
    FileHashJob(path);
    EXPECT_EQ(ReadReportText(),
              StampedDetails(path, L"0 字节") +
                  L"MD5     : D41D8CD98F00B204E9800998ECF8427E\r\n"
                  L"SHA-1   : DA39A3EE5E6B4B0D3255BFEF95601890AFD80709\r\n"
                  L"SHA-256 : E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855\r\n"
                  L"CRC32   : 00000000\r\n" +
                  DONE);
    EXPECT_EQ(PaintedPercents(), (std::vector<std::int32_t>{0, 0, 0, 0, 100}));
}

// Each pass climbs from 0 to 100 with Browse disabled and Stop enabled; the end restores both.
TEST_F(FileHashJobTest, ProgressButtonsAndFlagsThroughAJob) {
    const std::wstring path = MakeFile(L"large.bin", RandomBytes(FIVE_MIB, 1));
    CheckOnly({Md5, Crc32});
    FileHashJob(path);
    const StripPaint running[] = {{0, true, false, false, true},
                                  {40, true, false, false, true},
                                  {80, true, false, false, true},
                                  {100, true, false, false, true}};
    std::vector<StripPaint> expected(std::begin(running), std::end(running));
    expected.insert(expected.end(), std::begin(running), std::end(running));
    // The strip shows 100 before the buttons are switched back.
    expected.push_back({100, true, false, false, true});
    EXPECT_EQ(window.StripPaints(), expected);
    EXPECT_FALSE(jobRunning);
    ExpectButtonsOfAFinishedJob();
}

TEST_F(FileHashJobTest, StopDuringTheSecondOfThreeAlgorithms) {
    const Bytes bytes = RandomBytes(FIVE_MIB, 2);
    const std::wstring path = MakeFile(L"large.bin", bytes);
    Md5Context context;
    Md5Init(context);
    Md5Update(context, bytes.data(), bytes.size());
    const std::string md5 = Md5Final(context);
    CheckOnly({Md5, Sha1, Crc32});
    window.StopDuringPass(2);

    FileHashJob(path);

    EXPECT_EQ(ReadReportText(), StampedDetails(path, L"5.0 MB (5242880 字节)") + L"MD5     : " +
                                    std::wstring(md5.begin(), md5.end()) + L"\r\n" + STOPPED);
    // The third algorithm never started: no third climb from 0.
    EXPECT_EQ(PaintedPercents(), (std::vector<std::int32_t>{0, 40, 80, 100, 0, 40, 100}));
    EXPECT_TRUE(stopRequested);
    EXPECT_FALSE(jobRunning);
    EXPECT_EQ(progressPercent, 100);
    ExpectButtonsOfAFinishedJob();
}

TEST_F(FileHashJobTest, StopLeftByAnEarlierJobIsClearedBeforeTheFirstAlgorithm) {
    const std::wstring path = AbcFile();
    stopRequested = true;
    FileHashJob(path);
    EXPECT_EQ(ReadReportText(), L"文件: " + path + L"\r\n" + ABC_DETAILS + ABC_MD5 + ABC_SHA1 +
                                    ABC_SHA256 + ABC_CRC32 + DONE);
    EXPECT_FALSE(stopRequested);
}

// A system without the CNG MD5 provider: the built-in MD5 writes the same line.
TEST_F(FileHashJobTest, Md5FallsBackToTheBuiltinImplementation) {
    const std::wstring path = AbcFile();
    cngAlgorithmIdentifiers[Md5] = L"ORDWEN-NO-SUCH-PROVIDER";
    ASSERT_FALSE(CngDigest(path, cngAlgorithmIdentifiers[Md5], 3).providerOpened);
    CheckOnly({Md5, Sha1});
    FileHashJob(path);
    EXPECT_EQ(ReadReportText(),
              L"文件: " + path + L"\r\n" + ABC_DETAILS + ABC_MD5 + ABC_SHA1 + DONE);
}

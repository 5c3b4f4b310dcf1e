#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "hashing/file_details.h"
#include "hashing/report_pane.h"
#include "tests/support/file_setup.h"
#include "tests/support/system_settings.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

namespace {

constexpr std::uint64_t GIB = std::uint64_t{1} << 30;

class FileDetailsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetWindowTextW(reportPane, L""); }

    // A file of that size written at noon UTC on 15 January 2024.
    std::wstring WinterFile(std::uint64_t size) {
        const std::wstring path = folder.File(L"f" + std::to_wstring(size) + L".bin");
        MakeSizedFile(path, size);
        SetWriteTimeUtc(path, 2024, 1, 15, 12, 0, 0);
        return path;
    }

    TempDir folder;
    TestMainWindow window;
    const std::wstring WINTER_LINE = TimeLine(UtcStamp(2024, 1, 15, 12, 0, 0));
};

// Times written out for Berlin, one hour ahead of UTC in winter and two in summer: the test run
// gives these tests that zone (see tests/CMakeLists.txt).
class BerlinTimeTest : public FileDetailsTest {
  protected:
    void SetUp() override {
        if (!SystemZoneIs(L"Europe/Berlin", L"W. Europe Standard Time")) {
            GTEST_SKIP() << "written for the zone Europe/Berlin (W. Europe Standard Time)";
        }
        FileDetailsTest::SetUp();
    }
};

std::wstring VersionProbePath() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"version_probe.exe";
}

}  // namespace

TEST_F(FileDetailsTest, SizeLineAtEveryUnitBoundary) {
    const std::pair<std::uint64_t, const wchar_t*> cases[] = {
        {0, L"0 字节"},
        {1023, L"1023 字节"},
        {1024, L"1.0 KB (1024 字节)"},
        {1280, L"1.2 KB (1280 字节)"},
        {1792, L"1.8 KB (1792 字节)"},
        {1048575, L"1024.0 KB (1048575 字节)"},
        {1048576, L"1.0 MB (1048576 字节)"},
        {1073741823, L"1024.0 MB (1073741823 字节)"},
        {1073741824, L"1.00 GB (1073741824 字节)"},
        {5 * GIB + 123, L"5.00 GB (5368709243 字节)"},
    };
    for (const auto& [size, sizeText] : cases) {
        SetWindowTextW(reportPane, L"");
        EXPECT_EQ(AppendFileDetails(WinterFile(size)), size);
        EXPECT_EQ(ReadReportText(), std::wstring(L"大小: ") + sizeText + L"\r\n" + WINTER_LINE);
    }
}

// The test is only meaningful where daylight saving exists; make sure Wine took the zone.
TEST_F(BerlinTimeTest, TestsRunInAZoneWithDaylightSaving) {
    TIME_ZONE_INFORMATION zone;
    ASSERT_NE(GetTimeZoneInformation(&zone), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(zone.Bias, -60);
    EXPECT_EQ(zone.DaylightBias, -60);
    EXPECT_NE(zone.DaylightDate.wMonth, 0);
}

// Each stamp shows with the offset of its own date, whatever the date of the test run.
TEST_F(BerlinTimeTest, WinterAndSummerStampsEachShowTheirOwnLocalTime) {
    EXPECT_EQ(LocalTimeText(UtcStamp(2024, 1, 15, 12, 0, 0, 0)), L"2024/01/15 13:00:00");
    EXPECT_EQ(LocalTimeText(UtcStamp(2024, 7, 15, 12, 0, 0, 0)), L"2024/07/15 14:00:00");
    EXPECT_EQ(LocalTimeText(UtcStamp(2024, 3, 31, 0, 59, 59, 0)), L"2024/03/31 01:59:59");
    EXPECT_EQ(LocalTimeText(UtcStamp(2024, 3, 31, 1, 0, 0, 0)), L"2024/03/31 03:00:00");
    EXPECT_EQ(LocalTimeText(UtcStamp(2023, 12, 31, 23, 30, 0, 0)), L"2024/01/01 00:30:00");

    const std::wstring path = WinterFile(10);
    SetWriteTimeUtc(path, 2024, 7, 15, 12, 0, 0);
    AppendFileDetails(path);
    EXPECT_EQ(ReadReportText(), L"大小: 10 字节\r\n修改时间: 2024/07/15 14:00:00\r\n");
}

TEST_F(BerlinTimeTest, MillisecondsAreDroppedNotRounded) {
    EXPECT_EQ(LocalTimeText(UtcStamp(2024, 3, 7, 8, 5, 5, 999)), L"2024/03/07 09:05:05");
}

TEST_F(FileDetailsTest, StampBeyondTheCalendarGivesNoTime) {
    const FILETIME beyond = {0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_EQ(LocalTimeText(beyond), L"");
}

TEST_F(FileDetailsTest, VersionLineComesFirstAndShowsTheFileVersion) {
    const std::wstring probe = VersionProbePath();
    EXPECT_EQ(FileVersionText(probe), L"10.0.19041.1");
    const std::uint64_t size = AppendFileDetails(probe);
    EXPECT_GT(size, 0u);
    const std::wstring text = ReadReportText();
    EXPECT_EQ(text.substr(0, 22), L"版本: 10.0.19041.1\r\n大小: ");
}

TEST_F(FileDetailsTest, FileWithoutVersionResourceHasNoVersionLine) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(FileVersionText(std::wstring(self, length)), L"");
    EXPECT_EQ(FileVersionText(WinterFile(4096)), L"");
    AppendFileDetails(WinterFile(4096));
    EXPECT_EQ(ReadReportText(), L"大小: 4.0 KB (4096 字节)\r\n" + WINTER_LINE);
}

TEST_F(FileDetailsTest, MissingFileHasNoLinesAndNoSize) {
    EXPECT_EQ(AppendFileDetails(folder.File(L"missing.bin")), 0u);
    EXPECT_EQ(FileVersionText(folder.File(L"missing.bin")), L"");
    EXPECT_EQ(ReadReportText(), L"");
}

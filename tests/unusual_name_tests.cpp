#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "hashing/report_pane.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/drop_files.h"
#include "tests/support/exported_report.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// Paths with spaces, Chinese characters, a character outside the Basic Multilingual Plane and a
// length past 300 units, hashed from a drop, then copied and saved with the real commands.

namespace {

// U+20BB7, a CJK ideograph beyond the BMP: a surrogate pair in UTF-16, four bytes in UTF-8.
const std::wstring BEYOND_BMP = L"\xD842\xDFB7";

std::wstring Block(const std::wstring& path, const Bytes& bytes) {
    return L"文件: " + path + L"\r\n大小: " + std::to_wstring(bytes.size()) +
           L" 字节\r\n修改时间: 2024/03/07 09:05:05\r\n\r\n" + AllDigestLines(bytes) + DONE;
}

TEST(UnusualNameTest, HashedReportedCopiedAndSavedWhole) {
    reportStarted = false;
    stopRequested = false;
    TempDir folder;
    TestMainWindow window;
    const std::wstring named = folder.File(L"报告 with spaces " + BEYOND_BMP);
    ASSERT_TRUE(CreateDirectoryW(named.c_str(), nullptr));
    const std::wstring deep = MakeDeepFolder(named, 300);
    const Bytes first = BytesOf("first file");
    const Bytes second = BytesOf("second, deeper");
    const std::wstring a = named + L"\\文件 一 " + BEYOND_BMP + L".txt";
    const std::wstring b = deep + L"\\长 路径 " + BEYOND_BMP + L".bin";
    ASSERT_GT(b.size(), 300u);
    MakeStampedFile(a, first);
    MakeStampedFile(L"\\\\?\\" + b, second);

    SendDrop({a, b});
    const std::wstring report = Block(a, first) + SEPARATOR + Block(b, second);
    ASSERT_EQ(ReadReportText(), report);

    SendMessageW(mainWindow, WM_COMMAND, IDC_COPY, 0);
    EXPECT_EQ(ClipboardUnicodeBlock(), report + L'\0');

    const std::wstring target = named + L"\\保存 " + BEYOND_BMP + L".txt";
    DialogDriver driver({{nullptr, target, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_SAVE, 0);
    ASSERT_TRUE(driver.AllStepsTaken());
    const std::string saved = WholeFileBytes(target);
    EXPECT_EQ(saved, SavedFormOf(report));
    EXPECT_NE(saved.find("\xF0\xA0\xAE\xB7"), std::string::npos);
}

}  // namespace

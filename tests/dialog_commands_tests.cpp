#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "commands/file_selection.h"
#include "commands/report_export.h"
#include "hashing/report_pane.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/drop_files.h"
#include "tests/support/report_blocks.h"
#include "tests/support/exported_report.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// The Browse and Save commands with their real dialogs, answered as a user would.

namespace {

class DialogCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        window.CheckOnly(Crc32);
    }

    std::wstring File(const std::wstring& name, const std::string& content) {
        return MakeStampedFile(folder.File(name), BytesOf(content));
    }

    TempDir folder;
    TestMainWindow window;
};

TEST_F(DialogCommandTest, BrowseForOneFileHashesItsFullPath) {
    const std::wstring a = File(L"a.txt", "first");
    DialogDriver driver({{nullptr, a, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(driver.DialogsShown(), 1);
    EXPECT_EQ(ReadReportText(), Crc32Block(a, BytesOf("first")));
}

TEST_F(DialogCommandTest, BrowseForTwoFilesOfAFolder) {
    const std::wstring a = File(L"a.txt", "first");
    const std::wstring b = File(L"b.txt", "second");
    DialogDriver driver({{nullptr, folder.Path(), IDOK}, {nullptr, L"\"b.txt\" \"a.txt\"", IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    ASSERT_TRUE(driver.AllStepsTaken());
    const std::wstring report = ReadReportText();
    // The dialog decides the order of the names it returns.
    const bool bFirst = report.rfind(L"文件: " + b, 0) == 0;
    EXPECT_EQ(report,
              bFirst ? Crc32Block(b, BytesOf("second")) + LaterCrc32Block(a, BytesOf("first"))
                     : Crc32Block(a, BytesOf("first")) + LaterCrc32Block(b, BytesOf("second")));
}

// 1,500 names of 30 characters fill the file-name box with 49,500 units, far beyond the 32,768 that
// the selection once had. Typed in reverse, they are hashed in that order; a stop during the last
// but one still ends the batch.
TEST_F(DialogCommandTest, FifteenHundredNamesAreHashedInDialogOrderUntilStopped) {
    std::wstring typed, expected;
    for (int number = 1500; number >= 1; --number) {
        const std::wstring name =
            L"photo " + std::to_wstring(10000 + number) + L" taken in 2024.jpeg";
        const std::string content = "photo " + std::to_string(number);
        const std::wstring path = File(name, content);
        typed += L"\"" + name + L"\" ";
        if (number >= 2) {
            expected += (number == 1500 ? L"" : SEPARATOR) +
                        (number == 2 ? StoppedBlock(path, BytesOf(content))
                                     : Crc32Block(path, BytesOf(content)));
        }
    }
    ASSERT_EQ(typed.size(), 49500u);
    window.StopDuringPass(1499);
    DialogDriver driver({{nullptr, folder.Path(), IDOK}, {nullptr, typed, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(ReadReportText(), expected);
}

// C:\ is a drive's root, whose folder the dialog gives with its own backslash.
TEST_F(DialogCommandTest, FilesPickedAtADriveRootHaveOneBackslash) {
    const std::wstring name = L"ordwen " + std::to_wstring(GetCurrentProcessId());
    const std::wstring a = MakeStampedFile(L"C:\\" + name + L"a.txt", BytesOf("first"));
    const std::wstring b = MakeStampedFile(L"C:\\" + name + L"b.txt", BytesOf("second"));
    const std::wstring typed = L"\"" + name + L"a.txt\" \"" + name + L"b.txt\"";
    DialogDriver driver({{nullptr, L"C:\\", IDOK}, {nullptr, typed, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    DeleteFileW(a.c_str());
    DeleteFileW(b.c_str());
    EXPECT_EQ(ReadReportText(),
              Crc32Block(a, BytesOf("first")) + LaterCrc32Block(b, BytesOf("second")));
}

TEST_F(DialogCommandTest, CancelledBrowseChangesNothing) {
    DialogDriver driver({{nullptr, L"", IDCANCEL}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(driver.DialogsShown(), 1);
    EXPECT_EQ(ReadReportText(), L"hint");
    EXPECT_FALSE(reportStarted);
}

TEST_F(DialogCommandTest, SaveWritesThePaneToTheChosenFile) {
    SetWindowTextW(reportPane, L"abc\r\n计算完成。\r\n");
    const std::wstring target = folder.File(L"report");
    DialogDriver driver({{nullptr, target, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_SAVE, 0);
    EXPECT_EQ(driver.DialogsShown(), 1);
    // A name typed without an extension gets ".txt".
    EXPECT_EQ(WholeFileBytes(target + L".txt"),
              "\xEF\xBB\xBF"
              "abc\r\n\xE8\xAE\xA1\xE7\xAE\x97\xE5\xAE\x8C\xE6\x88\x90\xE3\x80\x82\r\n");
}

// A drop that the dialog's message loop delivers waits until the save is done.
TEST_F(DialogCommandTest, FilesDroppedDuringTheSaveDialogWaitForTheSave) {
    const std::wstring a = File(L"a.txt", "first");
    SetWindowTextW(reportPane, L"before\r\n");
    const std::wstring target = folder.File(L"saved.txt");
    DialogDriver driver({{[&a] { SendDrop({a}); }, target, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_SAVE, 0);
    ASSERT_TRUE(driver.AllStepsTaken());
    EXPECT_EQ(WholeFileBytes(target),
              "\xEF\xBB\xBF"
              "before\r\n");
    EXPECT_EQ(ReadReportText(), Crc32Block(a, BytesOf("first")));
}

}  // namespace

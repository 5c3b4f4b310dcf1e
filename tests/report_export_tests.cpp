#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/main_window.h"
#include "commands/report_export.h"
#include "commands/report_file.h"
#include "hashing/file_pass.h"
#include "tests/support/exported_report.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

namespace {

std::wstring CopyCaption() {
    wchar_t caption[64] = {};
    GetWindowTextW(copyButton, caption, 64);
    return caption;
}

// Another thread holds the clipboard open, as another program would, until released or timed out.
// The system's own reader of the clipboard (Wine's X11 driver has one) may hold it for a moment
// after a change, and asks its owner, a window of this thread, for the data meanwhile.
std::thread HoldClipboard(HANDLE release, DWORD milliseconds) {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([opened, release, milliseconds] {
        for (int tries = 0; !OpenClipboard(nullptr) && tries < 1000; ++tries) {
            Sleep(5);
        }
        SetEvent(opened);
        WaitForSingleObject(release, milliseconds);
        CloseClipboard();
    });
    while (MsgWaitForMultipleObjects(1, &opened, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        PumpPendingMessages();
    }
    CloseHandle(opened);
    return holder;
}

// A clipboard held for good keeps its content, and the caption too. One held for a moment, as
// clipboard managers hold it after each change, takes the report once free; the caption then
// acknowledges the copy until its own timer fires, not another, or until a Copy fails.
TEST(CopyTest, FeedbackOnlyWhenTheClipboardTookTheTextAndUntilTheTimerFiresOrACopyFails) {
    TestMainWindow window;
    SetWindowTextW(reportPane, L"abc\r\n");
    SetWindowTextW(copyButton, COPY_CAPTION);
    PlaceTextOnClipboard(mainWindow, L"old content");
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder = HoldClipboard(release, 10000);
    SendMessageW(mainWindow, WM_COMMAND, IDC_COPY, 0);
    EXPECT_EQ(CopyCaption(), COPY_CAPTION);
    SetEvent(release);
    holder.join();
    EXPECT_EQ(ClipboardUnicodeBlock(), std::wstring(L"old content") + L'\0');
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, mainWindow, WM_TIMER, WM_TIMER, PM_NOREMOVE));

    ResetEvent(release);
    holder = HoldClipboard(release, 100);
    SendMessageW(mainWindow, WM_COMMAND, IDC_COPY, 0);
    holder.join();
    EXPECT_EQ(ClipboardUnicodeBlock(), std::wstring(L"abc\r\n") + L'\0');
    EXPECT_EQ(CopyCaption(), L"已复制!");
    SendMessageW(mainWindow, WM_TIMER, 2, 0);
    EXPECT_EQ(CopyCaption(), L"已复制!");
    const DWORD start = GetTickCount();
    while (CopyCaption() != COPY_CAPTION && GetTickCount() - start < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        PumpPendingMessages();
    }
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(CopyCaption(), COPY_CAPTION);
    EXPECT_GE(elapsed, 1100u);
    EXPECT_LT(elapsed, 3000u);
    // The timer is gone: it restores the caption once.
    EXPECT_FALSE(KillTimer(mainWindow, COPY_FEEDBACK_TIMER));

    // A failure right after a success: the clipboard still holds the earlier text, so the caption
    // returns at once and the timer stops.
    SendMessageW(mainWindow, WM_COMMAND, IDC_COPY, 0);
    ASSERT_EQ(CopyCaption(), L"已复制!");
    SetWindowTextW(reportPane, L"second\r\n");
    ResetEvent(release);
    holder = HoldClipboard(release, 10000);
    SendMessageW(mainWindow, WM_COMMAND, IDC_COPY, 0);
    EXPECT_EQ(CopyCaption(), L"复制(C)");
    EXPECT_FALSE(KillTimer(mainWindow, COPY_FEEDBACK_TIMER));
    SetEvent(release);
    holder.join();
    CloseHandle(release);
    EXPECT_EQ(ClipboardUnicodeBlock(), std::wstring(L"abc\r\n") + L'\0');
}

class SaveTest : public ::testing::Test {
  protected:
    std::vector<std::wstring> FolderEntries() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            names.push_back(entry.path().filename().wstring());
        }
        return names;
    }

    TempDir folder;
    const std::wstring target = folder.File(L"hash.txt");
};

// Windows refuses read-only, hidden and system targets to a plain write, which asks for none of
// their attributes; another program may hold the target open without sharing its writing; a
// folder may be missing.
TEST_F(SaveTest, RefusedTargetKeepsItsContentAndNothingIsLeftBehind) {
    for (DWORD attribute :
         {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteBytes(target, BytesOf("old report"));
        SetFileAttributesW(target.c_str(), attribute);
        EXPECT_FALSE(WriteReportFile(target, L"abc\r\n")) << attribute;
        EXPECT_EQ(WholeFileBytes(target), "old report");
    }
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE lock = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteReportFile(target, L"abc\r\n"));
    CloseHandle(lock);
    EXPECT_EQ(WholeFileBytes(target), "old report");
    EXPECT_FALSE(WriteReportFile(folder.File(L"none\\hash.txt"), L"abc\r\n"));
    EXPECT_EQ(FolderEntries(), std::vector<std::wstring>{L"hash.txt"});
}

// Log viewers and editors hold files open sharing reading and writing, though seldom deletion; the
// saved file stays the one that each of its hard links names. A shorter report leaves nothing of
// the longer one before it; an empty one is the byte-order mark alone.
TEST_F(SaveTest, HeldOpenAndHardLinkedTargetHoldsTheNewReportAloneUnderEachName) {
    WriteBytes(target, BytesOf("old"));
    const std::wstring other = folder.File(L"other.txt");
    ASSERT_TRUE(CreateHardLinkW(other.c_str(), target.c_str(), nullptr));
    HANDLE holder = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(WriteReportFile(target, L"abc\r\n"));
    CloseHandle(holder);
    EXPECT_EQ(WholeFileBytes(other), SavedFormOf(L"abc\r\n"));
    EXPECT_EQ(WholeFileBytes(target),
              "\xEF\xBB\xBF"
              "abc\r\n");
    ASSERT_TRUE(WriteReportFile(target, L""));
    EXPECT_EQ(WholeFileBytes(target), "\xEF\xBB\xBF");
    EXPECT_EQ(FolderEntries(), (std::vector<std::wstring>{L"hash.txt", L"other.txt"}));
}

// Wine makes no Windows links. It starts a Unix program named by its Unix path, but gives no handle
// to wait on, so the script marks its end with a file beside the folder; drive Z: is the Unix root.
bool RunUnixShell(const std::wstring& folder, const std::wstring& script) {
    const std::wstring mark = folder + L".done";
    std::wstring commandLine = L"/bin/sh -c \"" + script + L" && touch " + mark + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                   &startup, &process);
    int wait = 0;
    while (!DeleteFileW((L"Z:" + mark).c_str()) && ++wait < 200) {
        Sleep(25);
    }
    return wait < 200;
}

// The test run caps the size of the files these tests write: a write past the cap fails part-way,
// as on a full disk. Through a link to a missing name, the file that the save created goes.
TEST_F(SaveTest, ReportThatDoesNotFitLeavesTheOldReportAndNoNewFile) {
    const wchar_t* limit = _wgetenv(L"ORDWEN_FILE_SIZE_LIMIT_KIB");
    if (limit == nullptr || *limit == L'\0') {
        GTEST_SKIP() << "needs the file-size cap of the test run";
    }
    const std::wstring tooLong(std::stoul(limit) * 1024, L'x');
    WriteBytes(target, BytesOf("old report"));
    EXPECT_FALSE(WriteReportFile(target, tooLong));
    EXPECT_FALSE(WriteReportFile(folder.File(L"new.txt"), tooLong));
    EXPECT_TRUE(WholeFileBytes(target) == "old report");
    EXPECT_EQ(FolderEntries(), std::vector<std::wstring>{L"hash.txt"});

    if (GetFileAttributesW(L"Z:\\bin\\sh") == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "needs /bin/sh on drive Z:, the Unix root under Wine";
    }
    const std::wstring links = L"/tmp/ordwen-test-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(RunUnixShell(links, L"mkdir " + links + L" && ln -s gone.txt " + links + L"/link"));
    EXPECT_FALSE(WriteReportFile(L"Z:" + links + L"/link", tooLong));
    EXPECT_EQ(GetFileAttributesW((L"Z:" + links + L"/gone.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    RunUnixShell(links, L"rm -r " + links);
}

}  // namespace

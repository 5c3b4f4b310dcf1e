#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "commands/file_selection.h"
#include "commands/report_file.h"
#include "hashing/file_hash_job.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

namespace {

using Paths = std::vector<std::wstring>;

// The selection buffer as the dialog leaves it: the strings, then zeros to the buffer's end.
std::wstring SelectionBuffer(const std::wstring& strings) {
    std::wstring buffer = strings;
    buffer.resize(32768, L'\0');
    return buffer;
}

TEST(SelectionBuffer, SingleSelectionIsOneFullPath) {
    EXPECT_EQ(SelectedPaths(SelectionBuffer(std::wstring(L"C:\\data\\a b.txt\0", 16))),
              Paths{L"C:\\data\\a b.txt"});
}

TEST(SelectionBuffer, FolderAndNamesAreJoinedWithOneBackslashInBufferOrder) {
    const std::wstring strings(L"C:\\data\0c.bin\0a.txt\0b\0", 22);
    EXPECT_EQ(SelectedPaths(SelectionBuffer(strings)),
              (Paths{L"C:\\data\\c.bin", L"C:\\data\\a.txt", L"C:\\data\\b"}));
}

TEST(SelectionBuffer, RootFolderKeepsItsOneBackslash) {
    const std::wstring strings(L"C:\\\0a.txt\0b.txt\0", 16);
    EXPECT_EQ(SelectedPaths(SelectionBuffer(strings)), (Paths{L"C:\\a.txt", L"C:\\b.txt"}));
}

TEST(SelectionBuffer, EndsAtTheBufferEvenWithoutTerminators) {
    EXPECT_EQ(SelectedPaths(SelectionBuffer(L"")), Paths{});
    EXPECT_EQ(SelectedPaths(std::wstring(L"C:\\d\0x\0y", 8)), (Paths{L"C:\\d\\x", L"C:\\d\\y"}));
}

class DropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        window.CheckOnly(Crc32);
    }

    std::wstring File(const std::wstring& name, const std::string& content) {
        return MakeStampedFile(folder.File(name), BytesOf(content));
    }

    std::wstring Folder(const std::wstring& name) {
        const std::wstring path = folder.File(name);
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    // Sends the drop as the shell does, and checks that the handler gave its memory back.
    void Drop(const Paths& paths) {
        const HDROP drop = MakeDrop(paths);
        ASSERT_FALSE(IsReleased(drop));
        SendMessageW(mainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        EXPECT_TRUE(IsReleased(drop));
    }

    TempDir folder;
    TestMainWindow window;
};

TEST_F(DropTest, TwoFilesAndAFolderGiveTwoBlocksInDropOrder) {
    const std::wstring b = File(L"b.txt", "second");
    const std::wstring a = File(L"a.txt", "first");
    Drop({b, Folder(L"sub"), a});
    EXPECT_EQ(ReadReportText(),
              Crc32Block(b, BytesOf("second")) + LaterCrc32Block(a, BytesOf("first")));
    EXPECT_TRUE(reportStarted);
}

TEST_F(DropTest, OnlyFoldersHashNothingAndLeaveTheHint) {
    Drop({Folder(L"one"), Folder(L"two")});
    EXPECT_EQ(ReadReportText(), L"hint");
    EXPECT_FALSE(reportStarted);
    EXPECT_TRUE(IsEnabled(browseButton));
    EXPECT_FALSE(IsEnabled(copyButton));
}

TEST_F(DropTest, MissingEntryIsSkipped) {
    const std::wstring a = File(L"a.txt", "first");
    Drop({folder.File(L"missing.txt"), a});
    EXPECT_EQ(ReadReportText(), Crc32Block(a, BytesOf("first")));
}

TEST_F(DropTest, EmptyDropChangesNothing) {
    Drop({});
    EXPECT_EQ(ReadReportText(), L"hint");
}

// A stop left by an earlier batch ends no batch before a file of its own has been hashed.
TEST_F(DropTest, StopLeftByAnEarlierBatchDoesNotEndTheNextAtAFolder) {
    const std::wstring a = File(L"a.txt", "first");
    stopRequested = true;
    Drop({Folder(L"sub"), a});
    EXPECT_EQ(ReadReportText(), Crc32Block(a, BytesOf("first")));
}

TEST_F(DropTest, DropOntoAReportAppendsToIt) {
    const std::wstring a = File(L"a.txt", "first");
    const std::wstring b = File(L"b.txt", "second");
    FileHashJob(a);
    Drop({b});
    EXPECT_EQ(ReadReportText(),
              Crc32Block(a, BytesOf("first")) + LaterCrc32Block(b, BytesOf("second")));
}

// Cut at 259 characters, this path would name the shorter file beside it.
TEST_F(DropTest, PathLongerThanThreeHundredCharactersIsHashedAndReportedWhole) {
    const std::wstring deep = MakeDeepFolder(folder.Path(), 300);
    const std::wstring path = deep + L"\\" + std::wstring(40, L'x') + L".bin";
    ASSERT_GT(path.size(), 300u);
    MakeStampedFile(L"\\\\?\\" + path, BytesOf("deep file"));
    Drop({path});
    EXPECT_EQ(ReadReportText(), Crc32Block(path, BytesOf("deep file")));
}

TEST_F(DropTest, VersionOfAFileBeyondTheOrdinaryPathLength) {
    wchar_t self[MAX_PATH];
    const std::wstring selfPath(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    const std::wstring probe = selfPath.substr(0, selfPath.rfind(L'\\')) + L"\\version_probe.exe";
    const std::wstring path = MakeDeepFolder(folder.Path(), 300) + L"\\probe.exe";
    ASSERT_TRUE(CopyFileW(probe.c_str(), (L"\\\\?\\" + path).c_str(), FALSE));
    Drop({path});
    const std::wstring pathLine = L"文件: " + path + L"\r\n";
    EXPECT_EQ(ReadReportText().substr(0, pathLine.size() + 22),
              pathLine + L"版本: 10.0.19041.1\r\n大小: ");
}

TEST_F(DropTest, NameOutsideTheBasicPlaneSurvivesIntoReportAndSavedFile) {
    const std::wstring name = L"\xD83D\xDE00 smile.txt";
    const std::wstring path = File(name, "emoji");
    Drop({path});
    const std::wstring report = ReadReportText();
    EXPECT_EQ(report, Crc32Block(path, BytesOf("emoji")));

    const std::wstring saved = folder.File(L"hash.txt");
    ASSERT_TRUE(WriteReportFile(saved, report));
    HANDLE file = CreateFileW(saved.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char bytes[4096];
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    const std::string text(bytes, read);
    EXPECT_NE(text.find("\xF0\x9F\x98\x80 smile.txt\r\n"), std::string::npos);
}

// Refuses every window the thread tries to make while it lives, counting them: a dialog that
// tries to open then fails as a cancelled one does, and no test waits on it.
class WindowRefusal {
  public:
    WindowRefusal() : hook_(SetWindowsHookExW(WH_CBT, Refuse, nullptr, GetCurrentThreadId())) {
        attempts_ = 0;
    }
    ~WindowRefusal() { UnhookWindowsHookEx(hook_); }
    WindowRefusal(const WindowRefusal&) = delete;
    WindowRefusal& operator=(const WindowRefusal&) = delete;

    int Attempts() const { return attempts_; }

  private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            ++attempts_;
            return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static int attempts_;
    HHOOK hook_;
};

int WindowRefusal::attempts_ = 0;

TEST_F(DropTest, BrowseWhileAJobRunsOpensNoDialog) {
    WindowRefusal refusal;
    jobRunning = true;
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    BrowseForFiles();
    EXPECT_EQ(refusal.Attempts(), 0);
    jobRunning = false;
}

TEST_F(DropTest, BrowseDialogThatFailsChangesNothing) {
    WindowRefusal refusal;
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_GT(refusal.Attempts(), 0);
    EXPECT_EQ(ReadReportText(), L"hint");
    EXPECT_FALSE(reportStarted);
    EXPECT_TRUE(IsEnabled(browseButton));
}

}  // namespace

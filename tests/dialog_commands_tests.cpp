#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <filesystem>

#include "app/app_state.h"
#include "commands/report_file.h"
#include "hashing/report_pane.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/drop_files.h"
#include "tests/support/exported_report.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/system_settings.h"

// The Browse and Save commands with their real dialogs, answered as a user would.

namespace {

using DialogCommandTest = Crc32WindowTest;

// The list of the folder that the open dialog shows: a list view in Wine's dialog; Windows' own
// shows its items in a DirectUIHWND, which answers no list-view message, and there it is null.
HWND DialogList() {
    HWND view = FindWindowExW(DrivenDialog(), nullptr, L"SHELLDLL_DefView", nullptr);
    return FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr);
}

void ExpectListed(int count) {
    if (DialogList() == nullptr) {
        GTEST_SKIP() << "this system's file dialog shows its items in no list view";
    }
    EXPECT_EQ(ListView_GetItemCount(DialogList()), count);
}

// A box's text, where the system's dialog has the box where the driver looks: Windows' newer save
// dialog keeps its type box, cmb1 elsewhere, out of reach.
void ExpectBoxText(HWND box, const wchar_t* text) {
    if (box == nullptr) {
        GTEST_SKIP() << "this system's dialog keeps the box that shows \"" << text
                     << "\" out of the driver's reach";
    }
    wchar_t shown[16] = L"?";
    GetWindowTextW(box, shown, 16);
    EXPECT_STREQ(shown, text);
}

// The dialog the step answers, keeping the main window from input, with no read-only box, the name
// and the type given, and the system's own title, English where its dialogs are.
void ExpectDialog(const wchar_t* title, const wchar_t* name, const wchar_t* type) {
    HWND dialog = DrivenDialog();
    EXPECT_FALSE(IsWindowEnabled(mainWindow));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, chx1)));
    ExpectBoxText(FileNameBox(dialog), name);
    ExpectBoxText(GetDlgItem(dialog, cmb1), type);
    if (!EnglishUserInterface()) {
        GTEST_SKIP() << "the dialog's title is the system's own, here not in English";
    }
    ExpectBoxText(dialog, title);
}

// Browse opens no dialog while a job runs; cancelled, it changes nothing, and a name typed that
// does not exist is refused. It starts with an empty name and lists files of every kind; a name
// typed without an extension is taken as typed, and two files chosen together are hashed in its
// order.
TEST_F(DialogCommandTest, BrowseDuringAJobOrCancelledChangesNothingAndChosenFilesAreHashed) {
    const auto folderBefore = std::filesystem::current_path();
    jobRunning = true;
    {
        DialogDriver driver({{nullptr, L"", IDCANCEL}});
        SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
        EXPECT_FALSE(driver.AllStepsTaken());
    }
    jobRunning = false;
    const std::wstring withExtension = File(L"a.txt", "first");
    const std::wstring without = File(L"a", "second");
    {
        const auto startsEmpty = [] { ExpectDialog(L"Open", L"", L"所有文件"); };
        const auto listsBoth = [] { ExpectListed(2); };
        DialogDriver driver({{startsEmpty, folder.Path(), IDOK},
                             {listsBoth, L"missing.txt", IDOK},
                             {nullptr, L"", IDOK},
                             {nullptr, L"", IDCANCEL}});
        SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
        ASSERT_TRUE(driver.AllStepsTaken());
        EXPECT_EQ(ReadReportText(), L"hint");
        EXPECT_FALSE(reportStarted);
        EXPECT_EQ(std::filesystem::current_path(), folderBefore);
    }
    // Without a list the names are typed instead, in its order, and the step says it skips.
    const auto choosesBoth = [] {
        if (DialogList() == nullptr) {
            SetDlgItemTextW(DrivenDialog(), cmb13, L"\"a\" \"a.txt\"");
            ExpectListed(2);
        }
        for (const int item : {0, 1}) {
            ListView_SetItemState(DialogList(), item, LVIS_SELECTED, LVIS_SELECTED);
        }
    };
    DialogDriver driver({{nullptr, folder.Path(), IDOK},
                         {nullptr, L"a", IDOK},
                         {nullptr, folder.Path(), IDOK},
                         {choosesBoth, L"", IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(ReadReportText(), Crc32Block(without, BytesOf("second")));
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(ReadReportText(), Crc32Block(without, BytesOf("second")) +
                                    LaterCrc32Block(without, BytesOf("second")) +
                                    LaterCrc32Block(withExtension, BytesOf("first")));
    EXPECT_EQ(std::filesystem::current_path(), folderBefore);
}

// A driven dialog whose steps run out is cancelled two seconds after the last, and the test fails
// at once saying which dialog and which step, where it would otherwise wait for CTest's time-out.
TEST_F(DialogCommandTest, DialogLeftOpenAfterTheLastStepIsCancelledAndFailsTheTest) {
    File(L"a.txt", "first");
    const std::string expected =
        (::testing::Message() << (EnglishUserInterface() ? L"the dialog \"Open\"" : L"")
                              << L" was still open 2 s after the driver's last step, step 1 of 1, "
                              << L"which typed \"" << folder.Path() << L"\" and pressed OK; "
                              << L"it is cancelled")
            .GetString();
    DialogDriver driver({{nullptr, folder.Path(), IDOK}});
    EXPECT_NONFATAL_FAILURE(SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0), expected);
}

// 300 names of 162 characters fill the file-name box with 49,500 units, far beyond the 32,768 that
// the selection once had. Typed in reverse, they are hashed in that order; a stop during the last
// but one still ends the batch.
TEST_F(DialogCommandTest, SelectionOfFiftyThousandUnitsIsHashedInDialogOrderUntilStopped) {
    constexpr int COUNT = 300;
    std::wstring typed, expected;
    for (int number = COUNT; number >= 1; --number) {
        const std::wstring name = L"photo " + std::to_wstring(1000 + number) + L" taken in 2024 " +
                                  std::wstring(132, L'-') + L".jpeg";
        const std::string content = "photo " + std::to_string(number);
        const std::wstring path = File(name, content);
        typed += L"\"" + name + L"\" ";
        if (number >= 2) {
            expected += (number == COUNT ? L"" : SEPARATOR) +
                        (number == 2 ? StoppedBlock(path, BytesOf(content))
                                     : Crc32Block(path, BytesOf(content)));
        }
    }
    ASSERT_EQ(typed.size(), 49500u);
    window.StopDuringPass(COUNT - 1);
    DialogDriver driver({{nullptr, folder.Path(), IDOK}, {nullptr, typed, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(ReadReportText(), expected);
}

// In the root of drive C: a standard user on Windows may make folders but not files.
bool TakesANewFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

// A drive's root, whose folder the dialog gives with its own backslash: the first fixed drive's
// that takes a new file, C:\ under Wine; perhaps none on Windows, where a standard user may not
// write in C:\.
TEST_F(DialogCommandTest, FilesPickedAtADriveRootHaveOneBackslash) {
    const std::wstring name = L"ordwen " + std::to_wstring(GetCurrentProcessId());
    std::wstring root = L"C:\\";
    while (root[0] <= L'Z' &&
           (GetDriveTypeW(root.c_str()) != DRIVE_FIXED || !TakesANewFile(root + name))) {
        ++root[0];
    }
    if (root[0] > L'Z') {
        GTEST_SKIP() << "no drive root here takes a new file";
    }
    const std::wstring a = MakeStampedFile(root + name + L"a.txt", BytesOf("first"));
    const std::wstring b = MakeStampedFile(root + name + L"b.txt", BytesOf("second"));
    const std::wstring typed = L"\"" + name + L"a.txt\" \"" + name + L"b.txt\"";
    DialogDriver driver({{nullptr, root, IDOK}, {nullptr, typed, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    DeleteFileW(a.c_str());
    DeleteFileW(b.c_str());
    EXPECT_EQ(ReadReportText(),
              Crc32Block(a, BytesOf("first")) + LaterCrc32Block(b, BytesOf("second")));
}

// U+20BB7, a CJK ideograph beyond the BMP: a surrogate pair in UTF-16, four bytes in UTF-8.
const std::wstring BEYOND_BMP = L"\xD842\xDFB7";

std::wstring Block(const std::wstring& path, const Bytes& bytes) {
    return StampedDetails(path, std::to_wstring(bytes.size()) + L" 字节") + AllDigestLines(bytes) +
           DONE;
}

// Paths with spaces, Chinese characters, a character outside the Basic Multilingual Plane and a
// length past 300 units, hashed from a drop, then copied and saved with the real commands. The save
// dialog proposes hash.txt as a text file, with all files the other type, and lists text files;
// a name typed without an extension is saved with ".txt", whole though its path passes 260 units;
// a drop that the save dialog's message loop delivers waits until the save is done. A folder that
// does not exist is refused; saving again under that name asks first, and No keeps the file.
TEST(UnusualNameTest, HashedReportedCopiedAndSavedWhole) {
    const auto folderBefore = std::filesystem::current_path();
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

    // Wine's save dialog takes no path longer than 263 units.
    std::wstring target = named + L"\\保存 " + BEYOND_BMP;
    target += std::wstring(258 - target.size(), L'-');
    MakeStampedFile(named + L"\\not text.bin", first);
    {
        const auto proposesHashTxtAsText = [] {
            ExpectDialog(L"Save As", L"hash.txt", L"文本文件");
            wchar_t other[16] = {};
            if (HWND types = GetDlgItem(DrivenDialog(), cmb1)) {
                SendMessageW(types, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(other));
                EXPECT_STREQ(other, L"所有文件");
            }
        };
        const auto listsTextFiles = [&a] {
            SendDrop({a});
            ExpectListed(2);  // the deep folder and a
        };
        DialogDriver driver({{proposesHashTxtAsText, named, IDOK}, {listsTextFiles, target, IDOK}});
        SendMessageW(mainWindow, WM_COMMAND, IDC_SAVE, 0);
        ASSERT_TRUE(driver.AllStepsTaken());
    }
    EXPECT_EQ(std::filesystem::current_path(), folderBefore);
    const std::string saved = WholeFileBytes(target + L".txt");
    EXPECT_EQ(saved, SavedFormOf(report));
    EXPECT_NE(saved.find("\xF0\xA0\xAE\xB7"), std::string::npos);
    EXPECT_EQ(ReadReportText(), report + SEPARATOR + Block(a, first));
    // Past 259 units the file keeps a trailing dot that the ordinary form drops from a shorter one.
    ASSERT_TRUE(WriteReportFile(deep + L"\\保存.", report));
    EXPECT_EQ(WholeFileBytes(L"\\\\?\\" + deep + L"\\保存."), SavedFormOf(report));
    ASSERT_TRUE(WriteReportFile(named + L"\\保存.", report));
    EXPECT_EQ(WholeFileBytes(named + L"\\保存"), SavedFormOf(report));

    DialogDriver again({{nullptr, named + L"\\none\\x.txt", IDOK},
                        {nullptr, L"", IDOK},
                        {nullptr, target + L".txt", IDOK},
                        {nullptr, L"", IDNO},
                        {nullptr, L"", IDCANCEL}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_SAVE, 0);
    EXPECT_TRUE(again.AllStepsTaken());
    EXPECT_EQ(std::filesystem::current_path(), folderBefore);
    EXPECT_EQ(WholeFileBytes(target + L".txt"), saved);
}

}  // namespace

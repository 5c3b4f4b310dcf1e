#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "tests/support/window_geometry.h"
#include "app/application.h"
#include "app/main_window.h"
#include "hashing/file_pass.h"
#include "tests/support/temp_files.h"

namespace {

struct ExpectedControl {
    HWND* handle;
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    HFONT* font;
};

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LOGFONTW FontOf(HFONT font) {
    LOGFONTW description = {};
    GetObjectW(font, sizeof description, &description);
    return description;
}

void ExpectFont(HFONT font, LONG height, LONG weight, const wchar_t* face) {
    const LOGFONTW description = FontOf(font);
    EXPECT_EQ(description.lfHeight, height);
    EXPECT_EQ(description.lfWidth, 0);
    EXPECT_EQ(description.lfWeight, weight);
    EXPECT_FALSE(description.lfItalic);
    EXPECT_FALSE(description.lfUnderline);
    EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(description.lfFaceName, face);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        appInstance = GetModuleHandleW(nullptr);
        ASSERT_NE(CreateMainWindow(SW_HIDE), nullptr);
    }
    void TearDown() override {
        jobRunning = false;
        stopRequested = false;
    }
};

}  // namespace

TEST_F(MainWindowTest, StartsWithElevenControlsAsTheyAreMeantToBe) {
    const ExpectedControl controls[] = {
        {&browseButton, IDC_BROWSE, L"Button", L"浏览(B)...", 0x50000000, 0, &uiFont},
        {&clearButton, IDC_CLEAR, L"Button", L"清除(L)", 0x58000000, 0, &uiFont},
        {&copyButton, IDC_COPY, L"Button", L"复制(C)", 0x58000000, 0, &uiFont},
        {&saveButton, IDC_SAVE, L"Button", L"保存(S)...", 0x58000000, 0, &uiFont},
        {&stopButton, IDC_STOP, L"Button", L"停止(T)", 0x58000000, 0, &uiFont},
        {&algorithmCheckBoxes[Md5], IDC_MD5, L"Button", L"MD5", 0x50000003, 0, &uiFont},
        {&algorithmCheckBoxes[Sha1], IDC_SHA1, L"Button", L"SHA1", 0x50000003, 0, &uiFont},
        {&algorithmCheckBoxes[Sha256], IDC_SHA256, L"Button", L"SHA256", 0x50000003, 0, &uiFont},
        {&algorithmCheckBoxes[Crc32], IDC_CRC32, L"Button", L"CRC32", 0x50000003, 0, &uiFont},
        {&reportPane, IDC_REPORT, L"Edit", REPORT_HINT_TEXT, 0x50200844, WS_EX_CLIENTEDGE,
         &monoFont},
        {&progressStrip, IDC_PROGRESS, L"Static", L"", 0x5000000D, 0, nullptr},
    };
    HWND previous = nullptr;
    for (const ExpectedControl& expected : controls) {
        SCOPED_TRACE(expected.id);
        HWND control = *expected.handle;
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), mainWindow);
        EXPECT_EQ(GetDlgItem(mainWindow, expected.id), control);
        // Creation order is the order the controls follow each other among the window's children.
        EXPECT_EQ(GetWindow(control, GW_HWNDPREV), previous);
        previous = control;
        EXPECT_EQ(lstrcmpiW(ClassOf(control).c_str(), expected.className), 0) << ClassOf(control);
        EXPECT_EQ(TextOf(control), expected.text);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)), expected.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)) & ~WS_EX_NOPARENTNOTIFY,
                  expected.exStyle);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        EXPECT_EQ(font, expected.font == nullptr ? nullptr : *expected.font);
    }
    EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), nullptr);

    ExpectFont(uiFont, -14, FW_NORMAL, L"Microsoft YaHei UI");
    ExpectFont(monoFont, -14, FW_NORMAL, L"Consolas");
    ExpectFont(percentFont, -16, FW_BOLD, L"Microsoft YaHei UI");

    EXPECT_TRUE(IsWindowEnabled(browseButton));
    for (HWND button : {clearButton, copyButton, saveButton, stopButton}) {
        EXPECT_FALSE(IsWindowEnabled(button));
    }
    for (HWND box : algorithmCheckBoxes) {
        EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    }
    EXPECT_EQ(progressPercent, 0);
    EXPECT_FALSE(reportStarted);
}

TEST_F(MainWindowTest, PlacesButtonsWhereCreatedAndTheRestForItsClientArea) {
    ExpectPlace(browseButton, 10, 18, 84, 36);
    ExpectPlace(clearButton, 102, 18, 84, 36);
    ExpectPlace(copyButton, 194, 18, 84, 36);
    ExpectPlace(saveButton, 286, 18, 96, 36);
    ExpectPlace(stopButton, 390, 18, 84, 36);

    RECT client;
    GetClientRect(mainWindow, &client);
    const int width = client.right;
    const int height = client.bottom;
    const int left = std::max(width - 238, 480);
    ExpectPlace(algorithmCheckBoxes[Md5], left, 12, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Sha1], left + 118, 12, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Sha256], left, 38, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Crc32], left + 118, 38, 110, 24);
    ExpectPlace(reportPane, 10, 72, width - 20, std::max(height - 114, 80));
    ExpectPlace(progressStrip, 10, height - 32, width - 20, 22);
}

TEST_F(MainWindowTest, ClassAndWindowAreAsRegistered) {
    EXPECT_EQ(ClassOf(mainWindow), MAIN_WINDOW_CLASS);
    EXPECT_EQ(TextOf(mainWindow), L"Ordwen - 1.06 Brellick（Kovaro）");
    EXPECT_EQ(GetClassLongPtrW(mainWindow, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(GetClassLongPtrW(mainWindow, GCLP_HBRBACKGROUND), COLOR_WINDOW + 1);
    EXPECT_NE(GetClassLongPtrW(mainWindow, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(mainWindow, GCLP_HICONSM), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(mainWindow, GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
              static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    EXPECT_TRUE(GetWindowLongW(mainWindow, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    RECT bounds;
    GetWindowRect(mainWindow, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 780);
    EXPECT_EQ(bounds.bottom - bounds.top, 660);
}

TEST_F(MainWindowTest, MinimumTrackSizeIsSetAndNothingElse) {
    MINMAXINFO limits;
    FillMemory(&limits, sizeof limits, 0x5A);
    MINMAXINFO expected = limits;
    expected.ptMinTrackSize = POINT{740, 540};
    EXPECT_EQ(SendMessageW(mainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(memcmp(&limits, &expected, sizeof limits), 0);
}

TEST_F(MainWindowTest, CopyFeedbackTimerRestoresTheCaptionOnceAndOtherTimersDoNothing) {
    SetWindowTextW(copyButton, L"feedback");
    EXPECT_EQ(SendMessageW(mainWindow, WM_TIMER, 2, 0), 0);
    EXPECT_EQ(TextOf(copyButton), L"feedback");

    SetTimer(mainWindow, COPY_FEEDBACK_TIMER, 10, nullptr);
    EXPECT_EQ(SendMessageW(mainWindow, WM_TIMER, COPY_FEEDBACK_TIMER, 0), 0);
    EXPECT_EQ(TextOf(copyButton), L"复制(C)");

    // The timer is gone: no further tick arrives.
    Sleep(60);
    MSG tick;
    EXPECT_FALSE(PeekMessageW(&tick, mainWindow, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(MainWindowTest, DrawItemPaintsOnlyTheProgressStrip) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -22, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    const DWORD untouched = 0x00123456;
    auto reset = [&] { std::fill(pixels, pixels + 40 * 22, untouched); };

    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_STATIC;
    item.CtlID = IDC_PROGRESS;
    item.hwndItem = progressStrip;
    item.hDC = dc;
    item.rcItem = RECT{0, 0, 40, 22};

    DRAWITEMSTRUCT otherControl = item;
    otherControl.CtlID = IDC_REPORT;
    DRAWITEMSTRUCT otherType = item;
    otherType.CtlType = ODT_BUTTON;
    for (DRAWITEMSTRUCT* notOurs : {&otherControl, &otherType}) {
        reset();
        EXPECT_EQ(SendMessageW(mainWindow, WM_DRAWITEM, notOurs->CtlID,
                               reinterpret_cast<LPARAM>(notOurs)),
                  DefWindowProcW(mainWindow, WM_DRAWITEM, notOurs->CtlID,
                                 reinterpret_cast<LPARAM>(notOurs)));
        EXPECT_EQ(pixels[0], untouched);
    }
    EXPECT_EQ(SendMessageW(mainWindow, WM_DRAWITEM, IDC_PROGRESS, 0),
              DefWindowProcW(mainWindow, WM_DRAWITEM, IDC_PROGRESS, 0));

    reset();
    EXPECT_EQ(SendMessageW(mainWindow, WM_DRAWITEM, IDC_PROGRESS, reinterpret_cast<LPARAM>(&item)),
              TRUE);
    EXPECT_EQ(pixels[0], 0x00D0D0D0u);

    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(WindowCommand, OnlyTheLowWordChoosesTheCommand) {
    jobRunning = false;
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_BROWSE, BN_CLICKED)), WindowCommand::Browse);
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_CLEAR, BN_CLICKED)), WindowCommand::Clear);
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_COPY, 0xFFFF)), WindowCommand::Copy);
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_SAVE, 1)), WindowCommand::Save);
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_STOP, BN_DOUBLECLICKED)), WindowCommand::Stop);
    EXPECT_EQ(CommandFor(static_cast<WPARAM>(0xABCD0000ull << 16) | IDC_COPY), WindowCommand::Copy);
    for (int other : {0, IDC_MD5, IDC_SHA1, IDC_SHA256, IDC_CRC32, IDC_REPORT, IDC_PROGRESS}) {
        EXPECT_EQ(CommandFor(MAKEWPARAM(other, BN_CLICKED)), WindowCommand::None);
    }
    // A control id whose high word would make it Copy if more than the low word were read.
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_MD5, IDC_COPY)), WindowCommand::None);
}

TEST(WindowCommand, BrowseIsRefusedWhileAJobRuns) {
    jobRunning = true;
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_BROWSE, BN_CLICKED)), WindowCommand::None);
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_STOP, BN_CLICKED)), WindowCommand::Stop);
    EXPECT_EQ(CommandFor(MAKEWPARAM(IDC_CLEAR, BN_CLICKED)), WindowCommand::Clear);
    jobRunning = false;
}

TEST_F(MainWindowTest, CommandsOfOtherControlsAreConsumed) {
    for (int id : {IDC_MD5, IDC_REPORT, 4242}) {
        EXPECT_EQ(SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), 0), 0);
    }
    jobRunning = true;
    EXPECT_EQ(SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED), 0), 0);
}

TEST_F(MainWindowTest, ReportPaneKeepsAVeryLongReportWhole) {
    std::wstring block;
    for (int line = 0; line < 8; ++line) {
        block += L"MD5     : 0123456789ABCDEF0123456789ABCDEF 文件 C:\\目录\\file.bin\r\n";
    }
    SetWindowTextW(reportPane, L"");
    std::wstring expected;
    for (int i = 0; i < 600; ++i) {
        const int end = GetWindowTextLengthW(reportPane);
        SendMessageW(reportPane, EM_SETSEL, end, end);
        SendMessageW(reportPane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(block.c_str()));
        expected += block;
    }
    ASSERT_GT(expected.size(), 250000u);
    EXPECT_EQ(TextOf(reportPane), expected);
}

TEST_F(MainWindowTest, MinimisedWindowMovesNothingAndRestoringLaysOutAgain) {
    const RECT laidOut = PlaceInParent(progressStrip);
    ShowWindow(mainWindow, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(mainWindow));
    SetWindowPos(progressStrip, nullptr, 1, 2, 3, 4, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(mainWindow, WM_SIZE, SIZE_MINIMIZED, 0);
    ExpectPlace(progressStrip, 1, 2, 3, 4);

    ShowWindow(mainWindow, SW_RESTORE);
    const RECT restored = PlaceInParent(progressStrip);
    EXPECT_TRUE(EqualRect(&laidOut, &restored));
}

// Closing the window during a pass: the pass's pump handles WM_CLOSE, the pass stops, and the
// quit request still ends the message loop with exit code 0.
TEST_F(MainWindowTest, ClosingDuringAPassStopsItAndEndsTheLoopWithZero) {
    TempDir folder;
    const std::wstring path = folder.File(L"big.bin");
    const std::size_t size = 3 * FILE_CHUNK_SIZE;
    WriteBytes(path, RandomBytes(size, 7));
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    std::size_t chunks = 0;
    EXPECT_EQ(FilePass(path, size, [&](const unsigned char*, std::size_t) { ++chunks; }),
              PassOutcome::Stopped);
    EXPECT_EQ(chunks, 1u);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(RunMessageLoop(), 0);
}

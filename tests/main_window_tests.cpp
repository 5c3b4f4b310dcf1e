#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "app/app_state.h"
#include "app/application.h"
#include "app/main_window.h"
#include "hashing/file_pass.h"
#include "tests/support/temp_files.h"

namespace {

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        appInstance = GetModuleHandleW(nullptr);
        ASSERT_NE(CreateMainWindow(SW_HIDE), nullptr);
    }
};

}  // namespace

TEST_F(MainWindowTest, StartsAsAUserFirstSeesIt) {
    const struct {
        HWND handle;
        int id;
        const wchar_t* className;
        const wchar_t* text;
        DWORD style;
        DWORD exStyle;
        HFONT font;
    } controls[] = {
        {browseButton, IDC_BROWSE, L"Button", L"浏览(B)...", 0x50000000, 0, uiFont},
        {clearButton, IDC_CLEAR, L"Button", L"清除(L)", 0x58000000, 0, uiFont},
        {copyButton, IDC_COPY, L"Button", L"复制(C)", 0x58000000, 0, uiFont},
        {saveButton, IDC_SAVE, L"Button", L"保存(S)...", 0x58000000, 0, uiFont},
        {stopButton, IDC_STOP, L"Button", L"停止(T)", 0x58000000, 0, uiFont},
        {algorithmCheckBoxes[Md5], IDC_MD5, L"Button", L"MD5", 0x50000003, 0, uiFont},
        {algorithmCheckBoxes[Sha1], IDC_SHA1, L"Button", L"SHA1", 0x50000003, 0, uiFont},
        {algorithmCheckBoxes[Sha256], IDC_SHA256, L"Button", L"SHA256", 0x50000003, 0, uiFont},
        {algorithmCheckBoxes[Crc32], IDC_CRC32, L"Button", L"CRC32", 0x50000003, 0, uiFont},
        {reportPane, IDC_REPORT, L"Edit",
         L"拖拽文件到此处，或点击\"浏览\"按钮选择文件，即可计算 MD5/SHA-1/SHA-256/CRC32 哈希值",
         0x50200844, WS_EX_CLIENTEDGE, monoFont},
        {progressStrip, IDC_PROGRESS, L"Static", L"", 0x5000000D, 0, nullptr},
    };
    ASSERT_NE(uiFont, nullptr);
    ASSERT_NE(monoFont, nullptr);
    for (const auto& expected : controls) {
        SCOPED_TRACE(expected.id);
        ASSERT_NE(expected.handle, nullptr);
        EXPECT_EQ(GetDlgItem(mainWindow, expected.id), expected.handle);
        wchar_t className[64] = {};
        GetClassNameW(expected.handle, className, 64);
        EXPECT_EQ(lstrcmpiW(className, expected.className), 0) << className;
        EXPECT_EQ(TextOf(expected.handle), expected.text);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(expected.handle, GWL_STYLE)), expected.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(expected.handle, GWL_EXSTYLE)) &
                      ~WS_EX_NOPARENTNOTIFY,
                  expected.exStyle);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(expected.handle, WM_GETFONT, 0, 0)),
                  expected.font);
    }
    for (HWND box : algorithmCheckBoxes) {
        EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    }
    const struct {
        HFONT font;
        LONG height;
        LONG weight;
        const wchar_t* face;
    } fonts[] = {
        {uiFont, -14, FW_NORMAL, L"Microsoft YaHei UI"},
        {monoFont, -14, FW_NORMAL, L"Consolas"},
        {percentFont, -16, FW_BOLD, L"Microsoft YaHei UI"},
    };
    for (const auto& expected : fonts) {
        LOGFONTW font = {};
        SCOPED_TRACE(::testing::Message() << expected.face << " " << expected.height);
        ASSERT_EQ(GetObjectW(expected.font, sizeof font, &font), static_cast<int>(sizeof font));
        EXPECT_STREQ(font.lfFaceName, expected.face);
        EXPECT_EQ(font.lfHeight, expected.height);
        EXPECT_EQ(font.lfWeight, expected.weight);
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    }

    EXPECT_EQ(TextOf(mainWindow), L"Ordwen - 1.06 Brellick（Kovaro）");
    // Every field of the class as registered, then of the window as created, to which the system
    // adds sibling clipping and the window edge. The tests carry no icon of their own: the class
    // falls back to the stock icon for both sizes.
    const auto stockIcon = reinterpret_cast<ULONG_PTR>(LoadIconW(nullptr, IDI_APPLICATION));
    const auto instance = reinterpret_cast<ULONG_PTR>(appInstance);
    const std::pair<int, ULONG_PTR> classFields[] = {
        {GCL_STYLE, CS_HREDRAW | CS_VREDRAW},
        {GCLP_WNDPROC, reinterpret_cast<ULONG_PTR>(MainWindowProc)},
        {GCL_CBCLSEXTRA, 0},
        {GCL_CBWNDEXTRA, 0},
        {GCLP_HMODULE, instance},
        {GCLP_HICON, stockIcon},
        {GCLP_HICONSM, stockIcon},
        {GCLP_HCURSOR, reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW))},
        {GCLP_HBRBACKGROUND, COLOR_WINDOW + 1},
        {GCLP_MENUNAME, 0},
    };
    for (const auto& [index, expected] : classFields) {
        EXPECT_EQ(GetClassLongPtrW(mainWindow, index), expected) << index;
    }
    const std::pair<int, LONG_PTR> windowFields[] = {
        {GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS},
        {GWL_EXSTYLE, WS_EX_WINDOWEDGE | WS_EX_ACCEPTFILES},
        {GWLP_ID, 0},  // the menu of a window that has no parent
        {GWLP_HWNDPARENT, 0},
        {GWLP_HINSTANCE, static_cast<LONG_PTR>(instance)},
    };
    for (const auto& [index, expected] : windowFields) {
        EXPECT_EQ(GetWindowLongPtrW(mainWindow, index), expected) << index;
    }
    RECT bounds;
    GetWindowRect(mainWindow, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 780);
    EXPECT_EQ(bounds.bottom - bounds.top, 660);
    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(bounds.left, area.left + (area.right - area.left - 780) / 2);
    EXPECT_EQ(bounds.top, area.top + (area.bottom - area.top - 660) / 2);

    // The minimum track size is set and nothing else: a maximised window still fills the screen.
    MINMAXINFO limits;
    FillMemory(&limits, sizeof limits, 0x5A);
    MINMAXINFO expected = limits;
    expected.ptMinTrackSize = POINT{740, 540};
    EXPECT_EQ(SendMessageW(mainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(memcmp(&limits, &expected, sizeof limits), 0);
}

// Far beyond an edit control's default limit, appended as the report is.
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

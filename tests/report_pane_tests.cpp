#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "hashing/report_pane.h"
#include "tests/support/test_window.h"

namespace {

std::wstring NumberedLines(int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += L"line " + std::to_wstring(i) + L"\r\n";
    }
    return text;
}

int FirstVisibleLine() {
    return static_cast<int>(SendMessageW(reportPane, EM_GETFIRSTVISIBLELINE, 0, 0));
}

// A block as long as a real one, numbered so that a lost or repeated block cannot go unnoticed.
std::wstring Block(int number) {
    return L"\r\n------------------------------------------------------------\r\n"
           L"文件: C:\\data\\file" +
           std::to_wstring(number) +
           L".bin\r\n大小: 1.5 MB (1572864 字节)\r\n修改时间: 2024/03/07 09:05:02\r\n\r\n"
           L"MD5     : 900150983CD24FB0D6963F7D28E17F72\r\n"
           L"SHA-256 : BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD\r\n"
           L"\r\n计算完成。\r\n";
}

}  // namespace

TEST(ReportPane, ReadsBackExactlyWhatWasAppended) {
    TestMainWindow window;
    SetWindowTextW(reportPane, L"");
    const std::wstring text =
        L"文件: C:\\a b\\ü.txt\r\n\r\nCRC32   : 352441C2\r\n\r\n计算完成。\r\n";
    AppendToReport(text.substr(0, 10));
    AppendToReport(text.substr(10));
    EXPECT_EQ(ReadReportText(), text);
    EXPECT_EQ(ReadReportText().size(), static_cast<std::size_t>(GetWindowTextLengthW(reportPane)));
}

TEST(ReportPane, AppendsAtTheEndWhateverTheUserSelectedOrScrolled) {
    TestMainWindow window;
    const std::wstring before = NumberedLines(200);
    SetWindowTextW(reportPane, before.c_str());
    SendMessageW(reportPane, EM_SETSEL, 5, 40);
    SendMessageW(reportPane, WM_VSCROLL, SB_TOP, 0);
    ASSERT_EQ(FirstVisibleLine(), 0);

    AppendToReport(L"appended\r\n");

    const std::wstring after = before + L"appended\r\n";
    EXPECT_EQ(ReadReportText(), after);
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(reportPane, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    EXPECT_EQ(selectionStart, after.size());
    EXPECT_EQ(selectionEnd, after.size());
    EXPECT_GT(FirstVisibleLine(), 150);
}

// Far beyond the edit control's default limit of 32767 characters, which the pane must not keep.
TEST(ReportPane, SeveralHundredBlocksReadBackWhole) {
    TestMainWindow window;
    SetWindowTextW(reportPane, L"");
    std::wstring expected;
    for (int number = 0; number < 600; ++number) {
        AppendToReport(Block(number));
        expected += Block(number);
    }
    ASSERT_GT(expected.size(), 150000u);
    EXPECT_EQ(ReadReportText(), expected);
}

TEST(ReportPane, WithoutAPaneNothingHappens) {
    AppendToReport(L"nowhere");
    EXPECT_EQ(ReadReportText(), L"");
}

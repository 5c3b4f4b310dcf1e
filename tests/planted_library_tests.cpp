#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/program_process.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/system_settings.h"

namespace {

using Names = std::vector<std::wstring>;

constexpr const wchar_t* WINE_PROGRAM_SETTINGS = L"Software\\Wine\\AppDefaults\\Ordwen.exe";

// Wine takes its own libraries first. Told so for Ordwen.exe, it looks for these in the program's
// folder first, as Windows does for every library that is not a Known DLL; until the owner goes.
class SearchBesideTheProgram {
  public:
    explicit SearchBesideTheProgram(const Names& libraries) {
        if (!RunningUnderWine()) {
            return;
        }
        const std::wstring overrides = std::wstring(WINE_PROGRAM_SETTINGS) + L"\\DllOverrides";
        const wchar_t order[] = L"native,builtin";
        for (const std::wstring& library : libraries) {
            RegSetKeyValueW(HKEY_CURRENT_USER, overrides.c_str(),
                            library.substr(0, library.find(L'.')).c_str(), REG_SZ, order,
                            sizeof order);
        }
    }
    ~SearchBesideTheProgram() { RegDeleteTreeW(HKEY_CURRENT_USER, WINE_PROGRAM_SETTINGS); }
    SearchBesideTheProgram(const SearchBesideTheProgram&) = delete;
    SearchBesideTheProgram& operator=(const SearchBesideTheProgram&) = delete;
};

// The program, ended at the latest when its owner goes.
class LaunchedProgram {
  public:
    explicit LaunchedProgram(const std::wstring& path) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + path + L"\"";
        CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process_);
    }
    ~LaunchedProgram() {
        if (process_.hProcess != nullptr) {
            TerminateProcess(process_.hProcess, 99);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    LaunchedProgram(const LaunchedProgram&) = delete;
    LaunchedProgram& operator=(const LaunchedProgram&) = delete;

    const PROCESS_INFORMATION& Process() const { return process_; }

    DWORD ExitCodeAfterClosing(HWND window) const {
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD exitCode = 99;
        if (WaitForSingleObject(process_.hProcess, 20000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process_.hProcess, &exitCode);
        }
        return exitCode;
    }

  private:
    PROCESS_INFORMATION process_ = {};
};

std::wstring ReportText(HWND window) {
    HWND pane = GetDlgItem(window, IDC_REPORT);
    DWORD_PTR length = 0;
    SendMessageTimeoutW(pane, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    SendMessageTimeoutW(pane, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    text.resize(std::wcslen(text.c_str()));
    return text;
}

// Picks the file in the program's open dialog, as a user would, and returns the finished report.
std::wstring HashThroughBrowse(const LaunchedProgram& program, HWND window,
                               const std::wstring& file) {
    PostMessageW(window, WM_COMMAND, IDC_BROWSE, 0);
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 200 && dialog == nullptr; ++attempt) {
        Sleep(50);
        dialog = AnswerableDialogOf(program.Process().dwThreadId);
    }
    if (dialog == nullptr) {
        return L"(no open dialog)";
    }
    SetWindowTextW(FileNameBox(dialog), file.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    std::wstring report;
    for (int attempt = 0; attempt < 600; ++attempt) {
        report = ReportText(window);
        if (report.size() >= DONE.size() && report.substr(report.size() - DONE.size()) == DONE) {
            break;
        }
        Sleep(50);
    }
    return report;
}

// The program copied into a folder of its own with the libraries beside it, as a download or a
// stick may hold them, and a file with a version resource hashed in its window.
void ExpectNoneLoadedAndTheFilesOwnReport(const Names& planted) {
    TempDir programFolder;
    TempDir dataFolder;
    const std::wstring program = programFolder.File(L"Ordwen.exe");
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), program.c_str(), FALSE));
    for (const std::wstring& library : planted) {
        const std::wstring built = TestProgramFolder() + L"planted\\" + library;
        ASSERT_TRUE(CopyFileW(built.c_str(), programFolder.File(library).c_str(), FALSE));
    }
    const Bytes probe = GrownVersionProbe();
    const std::wstring file = MakeStampedFile(dataFolder.File(L"probe.exe"), probe);

    // A library loaded and let go again shows only by its mark.
    const auto loadedOnes = [&] {
        std::wstring loaded;
        for (const std::wstring& library : planted) {
            const std::wstring mark = programFolder.File(library + L".loaded");
            if (GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES) {
                loaded += library + L" ";
            }
        }
        return loaded;
    };
    const SearchBesideTheProgram searchOrder(planted);
    const LaunchedProgram launched(program);
    HWND window = WaitForProgramWindow(launched.Process().dwProcessId);
    ASSERT_NE(window, nullptr) << "no window; loaded beside the program: " << loadedOnes();
    EXPECT_EQ(HashThroughBrowse(launched, window, file),
              L"文件: " + file + L"\r\n版本: 10.0.19041.1\r\n大小: 195.3 KB (200000 字节)\r\n" +
                  StampLine() + L"\r\n" + AllDigestLines(probe) + DONE);

    EXPECT_EQ(launched.ExitCodeAfterClosing(window), 0u);
    EXPECT_EQ(loadedOnes(), L"");
}

}  // namespace

TEST(PlantedLibraries, BcryptBesideTheProgramForgesNoDigest) {
    ExpectNoneLoadedAndTheFilesOwnReport({L"bcrypt.dll"});
}

TEST(PlantedLibraries, VersionAndUxthemeBesideTheProgramAreNeverLoaded) {
    if (RunningUnderWine()) {
        GTEST_SKIP() << "Wine's own user32 imports version.dll, which Windows' does not, and Wine "
                        "loads uxtheme.dll before the program's first line, from the program's "
                        "folder first: a failure here would be Wine's, not the program's";
    }
    ExpectNoneLoadedAndTheFilesOwnReport({L"bcrypt.dll", L"version.dll", L"uxtheme.dll"});
}

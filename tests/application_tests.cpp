#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/application.h"
#include "app/control_ids.h"
#include "app/main_window.h"
#include "tests/support/program_process.h"

namespace {

class ProgramResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    std::string Bytes(const wchar_t* type, int id) const {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) {
            return {};
        }
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
#pragma pack(pop)

// How a PNG of the given square size begins when its pixels are 8-bit RGBA, as an icon's must be
// for transparent corners: the signature, then the header chunk's length and type, its width and
// height (big-endian), bit depth and colour type.
std::string SquareRgbaPngStart(int size) {
    const std::string side = {0, 0, static_cast<char>(size >> 8), static_cast<char>(size)};
    return std::string("\x89PNG\r\n\x1a\n\0\0\0\x0DIHDR", 16) + side + side + "\x08\x06";
}

// The side of an icon's square image; 0 for none, -1 for an image that is not square.
int IconSide(ULONG_PTR icon) {
    ICONINFO parts = {};
    BITMAP image = {};
    if (GetIconInfo(reinterpret_cast<HICON>(icon), &parts)) {
        GetObjectW(parts.hbmColor, sizeof image, &image);
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
    }
    return image.bmWidth == image.bmHeight ? image.bmWidth : -1;
}

}  // namespace

TEST(CentredWindowOrigin, CentresTheCreationSizeWithTheTopNeverAboveTheWorkArea) {
    const struct {
        RECT workArea;
        POINT origin;
    } cases[] = {
        {{0, 0, 1280, 800}, {250, 70}},
        {{0, 40, 1280, 800}, {250, 90}},         // below a taskbar at the top
        {{60, 0, 1340, 800}, {310, 70}},         // beside a taskbar at the left
        {{-1024, -100, -24, 668}, {-914, -46}},  // a second monitor
        {{0, 0, 777, 657}, {-1, 0}},      // narrower: truncated toward zero; lower: at the top
        {{0, 40, 1024, 600}, {122, 40}},  // lower, below a taskbar at the top
        {{0, 0, 781, 661}, {0, 0}},       // one pixel wider: rounded down, not up
    };
    for (const auto& c : cases) {
        const POINT origin = CenteredWindowOrigin(c.workArea);
        EXPECT_EQ(origin.x, c.origin.x) << c.workArea.left << "," << c.workArea.top;
        EXPECT_EQ(origin.y, c.origin.y) << c.workArea.left << "," << c.workArea.top;
    }
}

TEST_F(ProgramResources, IconGroupHoldsSevenPngImagesThatTheWindowShows) {
    const std::string group = Bytes(RT_GROUP_ICON, 1);
    ASSERT_GE(group.size(), sizeof(IconGroupHeader));
    IconGroupHeader header;
    std::memcpy(&header, group.data(), sizeof header);
    EXPECT_EQ(header.type, 1);  // icons, not cursors
    ASSERT_EQ(header.count, 7);
    ASSERT_EQ(group.size(), sizeof header + 7 * sizeof(IconGroupEntry));
    std::vector<int> sizes;
    for (int i = 0; i < header.count; ++i) {
        IconGroupEntry entry;
        std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
        const int size = entry.width == 0 ? 256 : entry.width;
        sizes.push_back(size);
        SCOPED_TRACE(size);
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.bitCount, 32);
        const std::string image = Bytes(RT_ICON, entry.id);
        ASSERT_EQ(image.size(), entry.bytesInResource);
        EXPECT_EQ(image.substr(0, 26), SquareRgbaPngStart(size));
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 128, 256}));

    // The title bar and the taskbar show them, not the system's generic icon.
    appInstance = module_;
    ASSERT_NE(CreateMainWindow(SW_HIDE), nullptr);
    EXPECT_NE(GetClassLongPtrW(mainWindow, GCLP_HICON),
              reinterpret_cast<ULONG_PTR>(LoadIconW(nullptr, IDI_APPLICATION)));
    // Each at its own size: the big one for Alt+Tab and the taskbar, the small one for the caption.
    const std::pair<ULONG_PTR, int> icons[] = {
        {GetClassLongPtrW(mainWindow, GCLP_HICON), 32},
        {GetClassLongPtrW(mainWindow, GCLP_HICONSM), 16},
        {static_cast<ULONG_PTR>(SendMessageW(mainWindow, WM_GETICON, ICON_BIG, 0)), 32},
        {static_cast<ULONG_PTR>(SendMessageW(mainWindow, WM_GETICON, ICON_SMALL, 0)), 16},
    };
    for (const auto& [icon, side] : icons) {
        EXPECT_EQ(IconSide(icon), side);
    }
}

// What changes how the program runs: visual styles, no elevation, scaling by the system, the
// systems it is written for, and the identity the release names. Each entry once: a second
// dependency or a second DPI setting would change how the program starts or is scaled.
TEST_F(ProgramResources, ManifestCarriesExactlyTheExpectedEntries) {
    const std::string manifest = Bytes(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    const char* expected[] = {
        "encoding=\"UTF-8\"",
        "<assemblyIdentity name=\"Ordwen.Calculator\" version=\"1.0.6.0\" type=\"win32\" "
        "processorArchitecture=\"*\"/>",
        "<description>Ordwen calculator (MD5 / SHA-1 / SHA-256 / CRC32)</description>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>",
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        ">false</dpiAware>",
        "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",
        "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
    };
    for (const char* entry : expected) {
        EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
    }
    const std::pair<const char*, std::size_t> counts[] = {
        {"<supportedOS ", 3},
        {"<dependentAssembly>", 1},
        {"<assemblyIdentity ", 2},
        {"<windowsSettings>", 1},
        {"xmlns=\"http://schemas.microsoft.com/SMI/", 1},
    };
    for (const auto& [what, count] : counts) {
        std::size_t found = 0;
        for (auto at = manifest.find(what); at != std::string::npos;
             at = manifest.find(what, at + 1)) {
            ++found;
        }
        EXPECT_EQ(found, count) << what;
    }
}

TEST_F(ProgramResources, VersionResourceNamesTheProgram) {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 6));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, 6));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"CompanyName", L"Brellick"},
        {L"FileDescription", L"Ordwen - MD5/SHA-1/SHA-256/CRC32 calculator"},
        {L"FileVersion", L"1.0.6.0"},
        {L"ProductVersion", L"1.0.6.0"},
        {L"InternalName", L"Ordwen"},
        {L"ProductName", L"Ordwen"},
        {L"OriginalFilename", L"Ordwen.exe"},
    };
    for (const auto& [name, value] : strings) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        void* found = nullptr;
        ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), &found, &length) && length > 0)
            << name;
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(found), length - 1), value);
    }
}

// One launch, as a shortcut set to start minimised would make it, with a file on the command line:
// the show command is honoured, the file is not hashed, and closing ends the process with 0.
TEST(Program, StartsAsLaunchedIgnoresItsCommandLineAndClosesWithExitCodeZero) {
    wchar_t file[MAX_PATH];
    GetModuleFileNameW(nullptr, file, MAX_PATH);
    std::wstring commandLine = std::wstring(L"Ordwen.exe \"") + file + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(ProgramPath().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    HWND window = WaitForProgramWindow(process.dwProcessId);
    EXPECT_NE(window, nullptr);
    if (window != nullptr) {
        for (int attempt = 0; attempt < 100 && !IsIconic(window); ++attempt) {
            Sleep(50);
        }
        EXPECT_TRUE(IsIconic(window));
        // Give a wrongly started job time to write its report.
        Sleep(500);
        wchar_t text[512] = {};
        SendMessageTimeoutW(GetDlgItem(window, IDC_REPORT), WM_GETTEXT, 512,
                            reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
        EXPECT_STREQ(text, REPORT_HINT_TEXT);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    DWORD exitCode = 99;
    if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

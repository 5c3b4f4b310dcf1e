#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/application.h"
#include "hashing/file_hash_job.h"
#include "hashing/report_pane.h"
#include "hashing/system_libraries.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"

// On a system whose bcrypt.dll lacks the hash functions and that has no version.dll and no
// comctl32.dll, the window still opens and a file still gets its MD5, from the built-in, and its
// CRC-32, with neither a SHA line nor a version line. Alone in its program: the libraries are
// bound once per process, at their first use.
TEST(SystemLibraries, WithoutThemTheWindowOpensAndMd5IsTheBuiltinOne) {
    systemLibraryNames[BCRYPT_LIBRARY] = L"version.dll";
    systemLibraryNames[VERSION_LIBRARY] = L"ordwen-no-such-library.dll";
    systemLibraryNames[COMMON_CONTROLS_LIBRARY] = L"ordwen-no-such-library.dll";
    appInstance = GetModuleHandleW(nullptr);
    ASSERT_NE(CreateMainWindow(SW_HIDE), nullptr);

    TempDir folder;
    const Bytes probe = GrownVersionProbe();
    const std::wstring file = MakeStampedFile(folder.File(L"probe.exe"), probe);
    FileHashJob(file);
    EXPECT_EQ(ReadReportText(), StampedDetails(file, L"195.3 KB (200000 字节)") +
                                    DigestLine(Md5, probe) + DigestLine(Crc32, probe) + DONE);
}

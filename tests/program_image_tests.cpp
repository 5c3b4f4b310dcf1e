#include <gtest/gtest.h>

#include <windows.h>
#include <imagehlp.h>

#include <set>
#include <string>

#include "tests/support/exported_report.h"
#include "tests/support/program_process.h"

namespace {

// The program's file as the loader reads it: its headers, the names of the libraries it imports
// and the names in its symbol table, which a release has stripped.
class ProgramImage : public ::testing::Test {
  protected:
    void SetUp() override {
        image_ = WholeFileBytes(ProgramPath());
        headers_ = ImageNtHeader(&image_[0]);
        ASSERT_NE(headers_, nullptr);
        ASSERT_EQ(headers_->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    }

    const IMAGE_DATA_DIRECTORY& Directory(int entry) const {
        return headers_->OptionalHeader.DataDirectory[entry];
    }

    std::set<std::string> ImportedLibraries() {
        ULONG size = 0;
        std::set<std::string> names;
        for (auto* entry = static_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
                 ImageDirectoryEntryToData(&image_[0], FALSE, IMAGE_DIRECTORY_ENTRY_IMPORT, &size));
             entry != nullptr && entry->Name != 0; ++entry) {
            std::string name =
                static_cast<const char*>(ImageRvaToVa(headers_, &image_[0], entry->Name, nullptr));
            CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
            names.insert(name);
        }
        return names;
    }

    // Every name longer than eight characters, which the table keeps after the symbols.
    std::string SymbolNames() const {
        const std::size_t at =
            headers_->FileHeader.PointerToSymbolTable +
            std::size_t{headers_->FileHeader.NumberOfSymbols} * IMAGE_SIZEOF_SYMBOL;
        DWORD size = 0;
        image_.copy(reinterpret_cast<char*>(&size), sizeof size, at);
        return image_.substr(at, size);
    }

    std::string image_;
    IMAGE_NT_HEADERS64* headers_ = nullptr;
};

}  // namespace

// A library that is not a Known DLL is looked for beside the program first. Windows 10 and 11
// map these from their own section, whatever lies beside it.
TEST_F(ProgramImage, ImportsOnlyKnownDlls) {
    const std::set<std::string> knownDlls = {
        "advapi32.dll", "clbcatq.dll",  "combase.dll", "comdlg32.dll", "coml2.dll",
        "difxapi.dll",  "gdi32.dll",    "gdiplus.dll", "imagehlp.dll", "imm32.dll",
        "kernel32.dll", "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",
        "ole32.dll",    "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "sechost.dll",
        "setupapi.dll", "shcore.dll",   "shell32.dll", "shlwapi.dll",  "user32.dll",
        "wldap32.dll",  "ws2_32.dll"};
    const std::set<std::string> imported = ImportedLibraries();
    EXPECT_TRUE(imported.count("kernel32.dll"));
    for (const std::string& library : imported) {
        EXPECT_TRUE(knownDlls.count(library)) << library << " is not a Known DLL";
    }
}

TEST_F(ProgramImage, CarriesEveryHardeningFlagAndItsRelocations) {
    EXPECT_EQ(headers_->OptionalHeader.DllCharacteristics,
              IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA | IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE |
                  IMAGE_DLLCHARACTERISTICS_NX_COMPAT |
                  IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
    // Without them the loader cannot move the image, whatever DYNAMIC_BASE says.
    EXPECT_FALSE(headers_->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_GT(Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);
}

TEST_F(ProgramImage, GuardsItsStackFrames) {
    if (headers_->FileHeader.PointerToSymbolTable == 0) {
        GTEST_SKIP() << "a stripped build has no symbols to read; the release check compares the "
                        "release with the tested build, stripped";
    }
    const std::string names = SymbolNames();
    EXPECT_NE(names.find("__stack_chk_fail"), std::string::npos);
    EXPECT_NE(names.find("__stack_chk_guard"), std::string::npos);
}

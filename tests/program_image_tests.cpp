#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <stdexcept>
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
        const auto dos = At<IMAGE_DOS_HEADER>(0);
        ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
        headers_ = At<IMAGE_NT_HEADERS64>(dos.e_lfanew);
        ASSERT_EQ(headers_.Signature, IMAGE_NT_SIGNATURE);
        ASSERT_EQ(headers_.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
        sectionsAt_ = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                      headers_.FileHeader.SizeOfOptionalHeader;
    }

    template <typename Record>
    Record At(std::size_t offset) const {
        if (offset > image_.size() || image_.size() - offset < sizeof(Record)) {
            throw std::out_of_range("past the end of the program's file");
        }
        Record record;
        std::memcpy(&record, image_.data() + offset, sizeof record);
        return record;
    }

    std::size_t FileOffset(DWORD address) const {
        for (WORD i = 0; i < headers_.FileHeader.NumberOfSections; ++i) {
            const auto section =
                At<IMAGE_SECTION_HEADER>(sectionsAt_ + i * sizeof(IMAGE_SECTION_HEADER));
            if (address >= section.VirtualAddress &&
                address < section.VirtualAddress + section.SizeOfRawData) {
                return address - section.VirtualAddress + section.PointerToRawData;
            }
        }
        throw std::out_of_range("an address in no section");
    }

    const IMAGE_DATA_DIRECTORY& Directory(int entry) const {
        return headers_.OptionalHeader.DataDirectory[entry];
    }

    std::set<std::string> ImportedLibraries() const {
        std::set<std::string> names;
        std::size_t at = FileOffset(Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
        for (auto entry = At<IMAGE_IMPORT_DESCRIPTOR>(at); entry.Name != 0;
             entry = At<IMAGE_IMPORT_DESCRIPTOR>(at += sizeof entry)) {
            std::string name = image_.c_str() + FileOffset(entry.Name);
            for (char& letter : name) {
                letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
            }
            names.insert(name);
        }
        return names;
    }

    // Every name longer than eight characters, which the table keeps after the symbols.
    std::string SymbolNames() const {
        const std::size_t at =
            headers_.FileHeader.PointerToSymbolTable +
            std::size_t{headers_.FileHeader.NumberOfSymbols} * IMAGE_SIZEOF_SYMBOL;
        return image_.substr(at, At<DWORD>(at));
    }

    std::string image_;
    IMAGE_NT_HEADERS64 headers_ = {};
    std::size_t sectionsAt_ = 0;
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
    EXPECT_EQ(headers_.OptionalHeader.DllCharacteristics,
              IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA | IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE |
                  IMAGE_DLLCHARACTERISTICS_NX_COMPAT |
                  IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
    // Without them the loader cannot move the image, whatever DYNAMIC_BASE says.
    EXPECT_FALSE(headers_.FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_GT(Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);
}

TEST_F(ProgramImage, GuardsItsStackFrames) {
    if (headers_.FileHeader.PointerToSymbolTable == 0) {
        GTEST_SKIP() << "a stripped build has no symbols to read; the release check compares the "
                        "release with the tested build, stripped";
    }
    const std::string names = SymbolNames();
    EXPECT_NE(names.find("__stack_chk_fail"), std::string::npos);
    EXPECT_NE(names.find("__stack_chk_guard"), std::string::npos);
}

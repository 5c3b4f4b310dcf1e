#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "tests/support/exported_report.h"
#include "tests/support/program_process.h"

namespace {

// The program's file as the loader reads it: its headers and the names in its symbol table, which
// a release has stripped.
class ProgramImage : public ::testing::Test {
  protected:
    void SetUp() override {
        image_ = WholeFileBytes(ProgramPath());
        const auto dos = At<IMAGE_DOS_HEADER>(0);
        ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
        headers_ = At<IMAGE_NT_HEADERS64>(dos.e_lfanew);
        ASSERT_EQ(headers_.Signature, IMAGE_NT_SIGNATURE);
        ASSERT_EQ(headers_.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
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

    const IMAGE_DATA_DIRECTORY& Directory(int entry) const {
        return headers_.OptionalHeader.DataDirectory[entry];
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
};

}  // namespace

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

#include <gtest/gtest.h>

#include "hashing/extended_path.h"

// Paths past 259 units get the extended form, which the system takes literally: separators and
// dots must be resolved here, and ".." stops at the drive, or at the share of a network path.
// Shorter paths, relative paths and device forms stay as given.
TEST(ExtendedLengthPath, EachFormOfPath) {
    const std::wstring name(280, L'n');
    const std::wstring fits = L"C:\\" + std::wstring(256, L'a');
    const std::wstring over = L"C:\\" + std::wstring(257, L'a');
    const struct {
        std::wstring given;
        std::wstring expected;
    } cases[] = {
        {fits, fits},
        {L"", L""},
        {over, L"\\\\?\\" + over},
        {L"d:\\x\\" + name, L"\\\\?\\d:\\x\\" + name},
        {L"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
        {L"C:\\a\\\\b/./c\\..\\" + name, L"\\\\?\\C:\\a\\b\\" + name},
        {L"C:\\..\\..\\" + name, L"\\\\?\\C:\\" + name},
        {L"\\\\srv\\share\\..\\..\\" + name, L"\\\\?\\UNC\\srv\\share\\" + name},
        {L"C:/dir/" + name, L"\\\\?\\C:\\dir\\" + name},
        {L"\\\\?\\C:\\" + name, L"\\\\?\\C:\\" + name},
        {L"\\\\.\\C:\\" + name, L"\\\\.\\C:\\" + name},
        {L"dir\\" + name, L"dir\\" + name},
        {L"C:" + name, L"C:" + name},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(ExtendedLengthPath(entry.given), entry.expected);
    }
}

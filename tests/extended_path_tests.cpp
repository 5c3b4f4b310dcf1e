#include <gtest/gtest.h>

#include "hashing/extended_path.h"

namespace {

const std::wstring LONG_NAME(280, L'n');

}  // namespace

TEST(ExtendedLengthPath, PathsThatFitTheOrdinaryFormStayAsGiven) {
    const std::wstring fits = L"C:\\" + std::wstring(256, L'a');
    ASSERT_EQ(fits.size(), 259u);
    EXPECT_EQ(ExtendedLengthPath(fits), fits);
    EXPECT_EQ(ExtendedLengthPath(L"C:\\data\\.\\a.txt"), L"C:\\data\\.\\a.txt");
    EXPECT_EQ(ExtendedLengthPath(L""), L"");
}

TEST(ExtendedLengthPath, LongDrivePathsGetTheExtendedPrefix) {
    const std::wstring path = L"C:\\" + std::wstring(257, L'a');
    ASSERT_EQ(path.size(), 260u);
    EXPECT_EQ(ExtendedLengthPath(path), L"\\\\?\\" + path);
    EXPECT_EQ(ExtendedLengthPath(L"d:\\x\\" + LONG_NAME), L"\\\\?\\d:\\x\\" + LONG_NAME);
}

TEST(ExtendedLengthPath, LongNetworkPathsGetTheUncPrefix) {
    EXPECT_EQ(ExtendedLengthPath(L"\\\\server\\share\\" + LONG_NAME),
              L"\\\\?\\UNC\\server\\share\\" + LONG_NAME);
}

// The extended form is taken literally by the system, so what the ordinary form would have tidied
// must be tidied here.
TEST(ExtendedLengthPath, SeparatorsAndDotsAreResolvedInTheExtendedForm) {
    EXPECT_EQ(ExtendedLengthPath(L"C:\\a\\\\b/./c\\..\\" + LONG_NAME),
              L"\\\\?\\C:\\a\\b\\" + LONG_NAME);
    EXPECT_EQ(ExtendedLengthPath(L"C:\\..\\..\\" + LONG_NAME), L"\\\\?\\C:\\" + LONG_NAME);
    EXPECT_EQ(ExtendedLengthPath(L"C:/dir/" + LONG_NAME), L"\\\\?\\C:\\dir\\" + LONG_NAME);
}

TEST(ExtendedLengthPath, DeviceFormsAndRelativePathsStayAsGiven) {
    const std::wstring extended = L"\\\\?\\C:\\" + LONG_NAME;
    EXPECT_EQ(ExtendedLengthPath(extended), extended);
    const std::wstring device = L"\\\\.\\C:\\" + LONG_NAME;
    EXPECT_EQ(ExtendedLengthPath(device), device);
    const std::wstring relative = L"dir\\" + LONG_NAME;
    EXPECT_EQ(ExtendedLengthPath(relative), relative);
    const std::wstring driveRelative = L"C:" + LONG_NAME;
    EXPECT_EQ(ExtendedLengthPath(driveRelative), driveRelative);
}

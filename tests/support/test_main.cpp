#include <gtest/gtest.h>

#include "app/application.h"

// The program narrows its search for libraries before anything else; its code runs here under
// the same rule, dialogs, drops and the clipboard included.
int main(int argc, char** argv) {
    NarrowLibrarySearch();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#pragma once

#include <windows.h>
#include <bcrypt.h>
#include <commctrl.h>

// The functions the program takes from system libraries that are not Known DLLs. Imported, or
// loaded by a plain name, such a library is looked for in the program's own folder before the
// system folder, and a file of that name left beside the program would run inside it and could
// forge every digest. They are bound by name from the system folder instead: the library, then
// the function as the system's headers declare it.
#define SYSTEM_LIBRARY_FUNCTIONS(ENTRY)                 \
    ENTRY(BCRYPT_LIBRARY, BCryptOpenAlgorithmProvider)  \
    ENTRY(BCRYPT_LIBRARY, BCryptGetProperty)            \
    ENTRY(BCRYPT_LIBRARY, BCryptCreateHash)             \
    ENTRY(BCRYPT_LIBRARY, BCryptHashData)               \
    ENTRY(BCRYPT_LIBRARY, BCryptFinishHash)             \
    ENTRY(BCRYPT_LIBRARY, BCryptDestroyHash)            \
    ENTRY(BCRYPT_LIBRARY, BCryptCloseAlgorithmProvider) \
    ENTRY(VERSION_LIBRARY, GetFileVersionInfoSizeW)     \
    ENTRY(VERSION_LIBRARY, GetFileVersionInfoW)         \
    ENTRY(VERSION_LIBRARY, VerQueryValueW)              \
    ENTRY(COMMON_CONTROLS_LIBRARY, InitCommonControlsEx)

enum SystemLibrary {
    BCRYPT_LIBRARY,
    VERSION_LIBRARY,
    COMMON_CONTROLS_LIBRARY,
    SYSTEM_LIBRARY_COUNT
};

// "bcrypt.dll", "version.dll" and "comctl32.dll", indexed by SystemLibrary. Not const, so that a
// test can stand in for a system where one cannot be had.
extern const wchar_t* systemLibraryNames[SYSTEM_LIBRARY_COUNT];

struct SystemLibraryFunctions {
#define SYSTEM_LIBRARY_FUNCTION_POINTER(library, function) decltype(&::function) function;
    SYSTEM_LIBRARY_FUNCTIONS(SYSTEM_LIBRARY_FUNCTION_POINTER)
#undef SYSTEM_LIBRARY_FUNCTION_POINTER
};

// Bound at the first call and kept, with their libraries, for the life of the process. A library
// that cannot be loaded from the system folder, or lacks one of its functions above, leaves all
// of its functions null: a caller tests the first one it calls.
const SystemLibraryFunctions& SystemFunctions();

#include "hashing/system_libraries.h"

const wchar_t* systemLibraryNames[SYSTEM_LIBRARY_COUNT] = {L"bcrypt.dll", L"version.dll",
                                                           L"comctl32.dll"};

namespace {

// Loads each library once, from the system folder alone, and notes those that lack a function.
// The manifest's side-by-side redirection still applies, so comctl32 comes in version 6.
class SystemLibraryBinder {
  public:
    SystemLibraryBinder() {
        for (int library = 0; library < SYSTEM_LIBRARY_COUNT; ++library) {
            modules_[library] =
                LoadLibraryExW(systemLibraryNames[library], nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        }
    }

    template <typename Function>
    void Bind(Function& function, SystemLibrary library, const char* name) {
        const FARPROC address =
            modules_[library] == nullptr ? nullptr : GetProcAddress(modules_[library], name);
        missing_[library] = missing_[library] || address == nullptr;
        function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    }

    bool Complete(SystemLibrary library) const { return !missing_[library]; }

  private:
    HMODULE modules_[SYSTEM_LIBRARY_COUNT] = {};
    bool missing_[SYSTEM_LIBRARY_COUNT] = {};
};

SystemLibraryFunctions BindSystemFunctions() {
    SystemLibraryBinder binder;
    SystemLibraryFunctions bound = {};
#define BIND_SYSTEM_FUNCTION(library, function) binder.Bind(bound.function, library, #function);
    SYSTEM_LIBRARY_FUNCTIONS(BIND_SYSTEM_FUNCTION)
#undef BIND_SYSTEM_FUNCTION
    // A library is used whole or not at all, so that no caller is left half way with a null.
#define DROP_INCOMPLETE_LIBRARY(library, function) \
    if (!binder.Complete(library)) {               \
        bound.function = nullptr;                  \
    }
    SYSTEM_LIBRARY_FUNCTIONS(DROP_INCOMPLETE_LIBRARY)
#undef DROP_INCOMPLETE_LIBRARY
    return bound;
}

}  // namespace

const SystemLibraryFunctions& SystemFunctions() {
    static const SystemLibraryFunctions functions = BindSystemFunctions();
    return functions;
}

#include <windows.h>

#include "app/app_state.h"
#include "app/application.h"

// The C runtime's own entry point, which runs its start-up and then wWinMain.
extern "C" int WinMainCRTStartup();

// Where the process begins (set at link time), before the C runtime: its start-up seeds the stack
// protector's guard through CryptoAPI, whose provider imports bcrypt.dll by name. The guard is set
// beneath this frame, so it carries none.
extern "C" __attribute__((no_stack_protector)) int ProgramEntry() {
    NarrowLibrarySearch();
    return WinMainCRTStartup();
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    appInstance = instance;
    if (CreateMainWindow(showCommand) == nullptr) {
        return 0;
    }
    return RunMessageLoop();
}

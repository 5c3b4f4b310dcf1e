#include <windows.h>

#include "app/app_state.h"
#include "app/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    appInstance = instance;
    if (CreateMainWindow(showCommand) == nullptr) {
        return 0;
    }
    return RunMessageLoop();
}

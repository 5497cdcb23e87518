// tickwell: the viewer, on the terminal device.
#include "platform/host/run_program.h"
#include "resources/app_resources.h"
#include "shell/win_main.h"

int main() {
    return platform::RunProgram(AppResources(), WinMain);
}

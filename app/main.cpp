// The program's entry point: starts the pet and runs its message loop; the exit code
// is 0 after a normal run and after a failed start.
#include "app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    if (!start_pet(instance, show_command)) return 0;
    return run_message_loop();
}

// Shared helpers of the Windows-side tests: recorded message boxes, a started engine
// and a hidden pet window with its display objects.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app.h"
#include "display.h"

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
extern std::vector<RecordedBox> boxes;
// Runs while a recorded box would be open.
extern std::function<void()> while_box_open;

void reset_shell();
// A fresh shell over a 1024 x 768 screen and a settings file of the given name beside the
// test program, removed and named by settings_path. Returns its path.
std::string fresh_settings_file(const char* name);
// Engine over a 1024 x 768 screen, the given display mode, a hidden pet window and its
// display objects. Returns false if any step failed.
bool start_hidden_pet(int32_t mode);
void stop_hidden_pet();

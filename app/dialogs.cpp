// Entry points of the Options and About dialogs, which the context menu opens. The
// dialogs themselves are not built yet: until they are, these commands do nothing,
// as Continue does.
#include "app.h"

void open_options_dialog(HWND) {}

void open_about_dialog(HWND) {}

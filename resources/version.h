// The program's version, for the Windows version information and the X11 program's
// --version and package.
#pragma once

#define TUVO_VERSION 1,0,0,0
#define TUVO_VERSION_TEXT "1.0.0.0"

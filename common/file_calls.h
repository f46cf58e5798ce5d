// The C library's file calls on Linux and on Windows (mingw): takes nothing, and gives
// open, read, write, lseek, close, fstat and getpid under the same names on both, with the
// open flags one system lacks defined as none.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif

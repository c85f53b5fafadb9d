// The cabinet library's system interface (libmspack's mspack_system) over the platform's
// files and the C runtime heap, so cabinets are read and members written through
// platform::machine().files on the simulated machine and on Windows alike.
//
// File names given to the library are Windows paths. Reads, writes and seeks never leave the
// platform's bounds: a read past the end answers 0 (the library then reports a short or
// truncated cabinet), a failing call answers the library's error value. No C++ exception
// crosses into the library: every callback is noexcept and allocates with malloc.
#pragma once

#include <mspack.h>

namespace infengine {

// The system to hand to mspack_create_cab_decompressor (as &system.base). Its open() creates
// new files with CREATE_ALWAYS, so a member never keeps the tail of an older, longer file of
// its name, and it notes that it did, so a failed extraction knows whether there is a partly
// written file to remove.
struct CabinetSystem {
    mspack_system base;          // first, so the library's `self` pointer leads back here
    bool outputOpened = false;   // a file was opened for writing
};

CabinetSystem makeCabinetSystem();

}  // namespace infengine

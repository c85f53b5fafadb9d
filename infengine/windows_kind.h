// Which Windows the engine runs on, read from the system's version at every use.
//
//   1  Windows 95/98 family, build (low 16 bits) below 951
//   2  same family, build 951 to 1110
//   3  same family, build 1111 to 1399 (Windows 95 OSR2)
//   4  same family, build 1400 or above (Windows 98)
//   5  Windows NT
//   0  anything else, or the version query failed
#pragma once

namespace infengine {

constexpr int kWindowsNt = 5;

int windowsKind();

}  // namespace infengine

# Cross-compiles for 32-bit Windows 95/98 with mingw-w64 (win32 thread model, so no
# winpthread DLL is needed at run time).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 4.0)
set(CMAKE_SYSTEM_PROCESSOR i586)

set(TUNARA_MINGW_PREFIX i686-w64-mingw32)
foreach(_suffix -win32 "")
  find_program(_cc ${TUNARA_MINGW_PREFIX}-gcc${_suffix})
  find_program(_cxx ${TUNARA_MINGW_PREFIX}-g++${_suffix})
  if(_cc AND _cxx)
    break()
  endif()
endforeach()
set(CMAKE_C_COMPILER ${_cc})
set(CMAKE_CXX_COMPILER ${_cxx})
set(CMAKE_RC_COMPILER ${TUNARA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TUNARA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built by the win32 flavours run under Wine when CTest starts them.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec.sh")

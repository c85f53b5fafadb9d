# Compiler settings and target helpers for the three build flavours.
#
#   host       native Linux build on the simulated machine (tests, fuzzing, benchmarks)
#   win32      Windows 95/98 product with the real hardware back-ends
#   win32-sim  the same programs on the simulated card (demo, Wine end-to-end tests)

if(WIN32)
  set(TUNARA_WIN32 ON)
else()
  set(TUNARA_WIN32 OFF)
endif()
if(TUNARA_HARDWARE STREQUAL "sim")
  set(TUNARA_SIM_HARDWARE ON)
else()
  set(TUNARA_SIM_HARDWARE OFF)
endif()

add_library(tunara_options INTERFACE)
target_compile_options(tunara_options INTERFACE -Wall -Wextra)
target_include_directories(tunara_options INTERFACE ${CMAKE_SOURCE_DIR})

if(TUNARA_WIN32)
  # Windows 95/98: ANSI functions only, Pentium-class code without cmov, the C++ runtime
  # linked in, PE subsystem version 4.0.
  target_compile_definitions(tunara_options INTERFACE
    WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_WINDOWS=0x0410 _WIN32_IE=0x0400
    WIN32_LEAN_AND_MEAN NOMINMAX STRICT)
  # Every program and library runs on one thread: function-local statics need no lock (the
  # locking runtime would import wide-character kernel functions and Windows 98 lacks some).
  # -g1: line tables and functions, kept in dist/symbols/ so a crash address in a shipped
  # (stripped) file resolves to a function and line; it does not change the code generated.
  # No exceptions and no RTTI: their precompiled runtime is i686 code (see cmake/runtime.cmake);
  # a failed allocation ends at a recovery point instead (platform/out_of_memory.h).
  target_compile_options(tunara_options INTERFACE -march=i586 -mtune=pentium -fno-ident -g1
    -fno-asynchronous-unwind-tables
    $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics -fno-exceptions -fno-rtti>)
  target_link_options(tunara_options INTERFACE
    -static -static-libgcc -static-libstdc++
    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
  if(TUNARA_SIM_HARDWARE)
    target_compile_definitions(tunara_options INTERFACE TUNARA_SIM_HARDWARE=1)
  endif()
else()
  target_compile_definitions(tunara_options INTERFACE TUNARA_HOST=1 TUNARA_SIM_HARDWARE=1)
  option(TUNARA_SANITIZE "Build the host flavour with AddressSanitizer and UBSan" OFF)
  if(TUNARA_SANITIZE)
    # Every finding ends the test that made it: UBSan alone would print and carry on.
    target_compile_options(tunara_options INTERFACE -fsanitize=address,undefined
      -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(tunara_options INTERFACE -fsanitize=address,undefined)
  endif()
endif()

# ANSI stand-ins for the wide-character kernel imports of the precompiled GCC runtime,
# linked into every Windows test driver as an object of its own (the deliverables have a
# runtime of their own, cmake/runtime.cmake).
if(TUNARA_WIN32)
  set(TUNARA_RUNTIME_IMPORTS ${CMAKE_SOURCE_DIR}/platform/win32/runtime/ansi_runtime_imports.cpp)
else()
  set(TUNARA_RUNTIME_IMPORTS)
endif()

# tunara_add_dll(<name> DEF <file.def> SOURCES ... [LIBS ...])
# A Windows DLL whose exports are the undecorated stdcall names listed in the .def file.
function(tunara_add_dll name)
  cmake_parse_arguments(ARG "" "DEF" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES} ${ARG_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_link_libraries(${name} PRIVATE tunara_options ${ARG_LIBS})
  # --kill-at drops the @N suffixes; the .def file names every export exactly.
  target_link_options(${name} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
  tunara_use_own_runtime(${name} DLL)
  set_property(TARGET ${name} PROPERTY TUNARA_DEF_FILE ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DEF})
  set_property(GLOBAL APPEND PROPERTY TUNARA_DELIVERABLES ${name})
endfunction()

# tunara_add_program(<name> SOURCES ... [LIBS ...] [CONSOLE])
# A Windows GUI program (or console helper when CONSOLE is given).
function(tunara_add_program name)
  cmake_parse_arguments(ARG "CONSOLE" "" "SOURCES;LIBS" ${ARGN})
  if(ARG_CONSOLE)
    # Test drivers keep mingw's start-up and the system's C library.
    add_executable(${name} ${ARG_SOURCES} ${TUNARA_RUNTIME_IMPORTS})
    target_link_libraries(${name} PRIVATE tunara_runtime_core)
  else()
    add_executable(${name} ${ARG_SOURCES})
  endif()
  target_link_libraries(${name} PRIVATE tunara_options ${ARG_LIBS})
  if(NOT ARG_CONSOLE)
    target_link_options(${name} PRIVATE -mwindows)
    tunara_use_own_runtime(${name} PROGRAM)
    set_property(GLOBAL APPEND PROPERTY TUNARA_DELIVERABLES ${name})
  endif()
endfunction()

# The runtime of the Windows deliverables (platform/win32/runtime/): start-up, C functions,
# heap and the C++ support, written for the Pentium and over KERNEL32 alone, instead of
# mingw's start-up code, msvcrt.dll and the precompiled i686 GCC libraries.
#
#   tunara_runtime_core        recovery points and operator new/delete; every Windows program
#                              links it (test drivers too, over the system's C library)
#   tunara_runtime             the rest, for the deliverables, which link no other runtime
#   tunara_runtime_program     the programs' entry point
#   tunara_runtime_dll         the libraries' entry point (and the default DllMain)

if(NOT TUNARA_WIN32)
  return()
endif()

set(runtime_dir ${CMAKE_SOURCE_DIR}/platform/win32/runtime)

add_library(tunara_runtime_core STATIC ${runtime_dir}/recovery.cpp ${runtime_dir}/new_delete.cpp)
target_link_libraries(tunara_runtime_core PUBLIC tunara_options)

add_library(tunara_runtime STATIC
  ${runtime_dir}/c_library.cpp
  ${runtime_dir}/c_format.cpp
  ${runtime_dir}/c_heap.cpp
  ${runtime_dir}/cxx_support.cpp
  ${runtime_dir}/module_lifetime.cpp
  ${runtime_dir}/rb_tree.cpp)
target_link_libraries(tunara_runtime PUBLIC tunara_runtime_core)
# The C functions must not be turned back into calls of themselves.
set_source_files_properties(${runtime_dir}/c_library.cpp ${runtime_dir}/c_format.cpp
  PROPERTIES COMPILE_OPTIONS "-fno-builtin;-fno-tree-loop-distribute-patterns")

add_library(tunara_runtime_program STATIC ${runtime_dir}/program_start.cpp)
target_link_libraries(tunara_runtime_program PUBLIC tunara_runtime)
add_library(tunara_runtime_dll STATIC ${runtime_dir}/dll_start.cpp ${runtime_dir}/default_dll_main.cpp)
target_link_libraries(tunara_runtime_dll PUBLIC tunara_runtime)

# Links a deliverable against the runtime alone: no start files, no default libraries; the
# system's import libraries come from the targets' own link lists.
function(tunara_use_own_runtime target kind)
  if(kind STREQUAL "DLL")
    target_link_libraries(${target} PRIVATE tunara_runtime_dll)
    target_link_options(${target} PRIVATE -Wl,--entry=_tunaraDllStart@12)
  else()
    target_link_libraries(${target} PRIVATE tunara_runtime_program)
    target_link_options(${target} PRIVATE -Wl,--entry=_tunaraProgramStart)
  endif()
  target_link_options(${target} PRIVATE -nostdlib)
endfunction()

# libgcc (64-bit division, the stack probe of frames over 4 KB) last on every link line: an
# archive is searched only where it stands, and the libraries' objects need it.
string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -lgcc")

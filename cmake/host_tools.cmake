# Build tools that run on the build host while the tree is built: the help compiler helpc
# (tools/helpc).
#
# The host flavour builds it as one of its own targets. The Windows flavours cross-compile
# everything with mingw, so there helpc is built as a project of its own with the host's C++
# compiler (ExternalProject, configured without the cross toolchain) in <build>/host-tools/.
#
# Provides TUNARA_HELPC (the program's path) and TUNARA_HELPC_DEPENDS (what a custom command
# that runs it depends on).

if(DEFINED TUNARA_HELPC)
  return()
endif()

if(NOT TUNARA_WIN32)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tools/helpc ${CMAKE_BINARY_DIR}/tools/helpc)
  set(TUNARA_HELPC $<TARGET_FILE:helpc>)
  set(TUNARA_HELPC_DEPENDS helpc)
  return()
endif()

include(ExternalProject)
find_program(TUNARA_HOST_CXX NAMES c++ g++ REQUIRED)
set(_helpc_dir ${CMAKE_BINARY_DIR}/host-tools/helpc)
ExternalProject_Add(helpc_host
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/helpc
  BINARY_DIR ${_helpc_dir}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${TUNARA_HOST_CXX}
  INSTALL_COMMAND ""
  # Its sources are part of this tree: rebuild (a no-op when nothing changed) on every build.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${_helpc_dir}/helpc)
set(TUNARA_HELPC ${_helpc_dir}/helpc)
set(TUNARA_HELPC_DEPENDS helpc_host ${_helpc_dir}/helpc)

# The cabinet (and SZDD) decompression library.
#
# Host: Debian's libmspack-dev. Win32: Debian's libmspack source package, fetched with
# `apt-get source` into the build tree (the prerequisites script enables the deb-src
# entries) and cross-compiled here; only the decompressors the product uses are built.
#
# Provides the target tunara_mspack.

if(TARGET tunara_mspack)
  return()
endif()

if(NOT TUNARA_WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MSPACK REQUIRED IMPORTED_TARGET libmspack)
  add_library(tunara_mspack INTERFACE)
  target_link_libraries(tunara_mspack INTERFACE PkgConfig::MSPACK)
  return()
endif()

set(_mspack_root ${CMAKE_BINARY_DIR}/_deps/libmspack-source)
if(NOT EXISTS ${_mspack_root}/mspack/mspack.h)
  set(_download ${CMAKE_BINARY_DIR}/_deps/libmspack-download)
  file(REMOVE_RECURSE ${_download})
  file(MAKE_DIRECTORY ${_download})
  message(STATUS "Fetching Debian's libmspack source package")
  execute_process(COMMAND apt-get source --only-source libmspack
                  WORKING_DIRECTORY ${_download}
                  RESULT_VARIABLE _result OUTPUT_QUIET ERROR_VARIABLE _error)
  file(GLOB _unpacked LIST_DIRECTORIES true ${_download}/libmspack-*)
  list(FILTER _unpacked EXCLUDE REGEX "\\.(tar|dsc|gz|xz)")
  if(NOT _result EQUAL 0 OR NOT _unpacked)
    message(FATAL_ERROR "apt-get source libmspack failed (${_result}): ${_error}\n"
                        "Run tools/install-prerequisites.sh, which enables the deb-src entries.")
  endif()
  list(GET _unpacked 0 _unpacked)
  file(RENAME ${_unpacked} ${_mspack_root})
  file(REMOVE_RECURSE ${_download})
endif()

set(_mspack_src ${_mspack_root}/mspack)
add_library(tunara_mspack STATIC
  ${_mspack_src}/system.c ${_mspack_src}/cabd.c ${_mspack_src}/mszipd.c
  ${_mspack_src}/lzxd.c ${_mspack_src}/qtmd.c ${_mspack_src}/szddd.c ${_mspack_src}/lzssd.c)
target_include_directories(tunara_mspack SYSTEM PUBLIC ${_mspack_src})
# Plain C89 library; the product hands it an mspack_system over the platform file layer, so
# the library's own one over stdio is left out (the deliverables have no stdio).
target_compile_definitions(tunara_mspack PRIVATE HAVE_INTTYPES_H=1 HAVE_LIMITS_H=1
                           HAVE_STRING_H=1 HAVE_STDLIB_H=1 SIZEOF_OFF_T=4
                           MSPACK_NO_DEFAULT_SYSTEM=1)
target_compile_options(tunara_mspack PRIVATE -march=i586 -mtune=pentium -fno-asynchronous-unwind-tables -w)

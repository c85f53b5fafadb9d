# The product as it ships (target `dist`, part of every Windows build): <build>/dist/ holds
# every deliverable stripped and the help files; <build>/dist/symbols/ the debug information,
# linked from each file by .gnu_debuglink (tools/make-dist.sh). The test dist_layout checks it.
if(NOT TUNARA_WIN32)
  return()
endif()

set(TUNARA_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
get_property(_deliverables GLOBAL PROPERTY TUNARA_DELIVERABLES)
set(_files)
foreach(target ${_deliverables})
  list(APPEND _files $<TARGET_FILE:${target}>)
endforeach()
set(_help_args)
set(_help_files)
if(TUNARA_HELP_DIR)
  foreach(name tnrmxEN_ tnrmxDE_ tnrmxFR_ tunara)
    list(APPEND _help_args --help ${TUNARA_HELP_DIR}/${name}.hlp)
    list(APPEND _help_files ${TUNARA_HELP_DIR}/${name}.hlp)
  endforeach()
endif()

set(_stamp ${CMAKE_BINARY_DIR}/dist.stamp)
add_custom_command(OUTPUT ${_stamp}
  COMMAND ${CMAKE_SOURCE_DIR}/tools/make-dist.sh ${TUNARA_DIST_DIR} ${_help_args} ${_files}
  COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
  DEPENDS ${_deliverables} ${_help_files} ${CMAKE_SOURCE_DIR}/tools/make-dist.sh
  COMMENT "Laying out the product in ${TUNARA_DIST_DIR}"
  VERBATIM)
add_custom_target(dist ALL DEPENDS ${_stamp})
if(TARGET help_files)
  add_dependencies(dist help_files)
endif()

if(BUILD_TESTING)
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  # Python by path: CTest would run the imported target through the emulator (Wine).
  add_test(NAME dist_layout
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check-dist.py
                   ${TUNARA_DIST_DIR} ${_files} ${_help_args})
  set_tests_properties(dist_layout PROPERTIES LABELS pe)
endif()

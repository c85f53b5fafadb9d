# tunara_add_wine_test(<name> [TIMEOUT seconds] COMMAND ...)
#
# A test that needs Wine (label "wine"). It runs through `tools/wine-machine.sh wine-test`,
# which first asks whether this machine can run Wine's 32-bit programs at all: where the kernel
# refuses them (or TUNARA_WINE=skip is set) the test prints the reason and CTest counts it as
# skipped, never as passed.
#
# The timing checks of the cases (a five-second timer measured to a second or two) would
# suffer from several Wine machines starting at once on a small machine, so the cases run one
# after another; host tests still run beside them.
#
# The time limit is kept by the wrapper, stretched by TUNARA_WINE_TIME_SCALE when a slow
# (emulated) machine runs the tests; CTest's own limit is only a backstop behind it, for
# factors up to 25.
set(TUNARA_WINE_MACHINE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-machine.sh)
set(TUNARA_WINE_SKIP_CODE 77)

function(tunara_add_wine_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "COMMAND" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 180)
  endif()
  add_test(NAME ${name}
    COMMAND bash ${TUNARA_WINE_MACHINE_SCRIPT} wine-test --limit ${ARG_TIMEOUT} ${ARG_COMMAND})
  math(EXPR backstop "${ARG_TIMEOUT} * 25 + 60")
  set_tests_properties(${name} PROPERTIES
    LABELS wine
    TIMEOUT ${backstop}
    SKIP_RETURN_CODE ${TUNARA_WINE_SKIP_CODE}
    RESOURCE_LOCK tunara_wine_machine)
endfunction()

# Short runs of every fuzz target, so that they keep building and running.
# Included from tests/CMakeLists.txt; the targets need clang and are built by
# fuzz/run.sh in a folder of their own inside this build folder, never with
# this build's compiler and flags.
find_program(VISTREL_CLANG clang)
find_program(VISTREL_CLANGXX clang++)
if(NOT VISTREL_CLANG OR NOT VISTREL_CLANGXX)
    message(STATUS "clang not found: the fuzz targets are left out of the tests")
    return()
endif()

set(VISTREL_FUZZ_BUILD_DIR ${CMAKE_BINARY_DIR}/fuzz-build)
set(VISTREL_FUZZ_SCRIPT ${PROJECT_SOURCE_DIR}/fuzz/run.sh)

add_test(NAME fuzz_build COMMAND ${VISTREL_FUZZ_SCRIPT} --build-only --build-dir
                                 ${VISTREL_FUZZ_BUILD_DIR})
# The lock keeps the runs from starting their own (no-op) builds in the same
# folder at once; each run keeps one core busy anyway.
set_tests_properties(fuzz_build PROPERTIES FIXTURES_SETUP vistrel_fuzz_build TIMEOUT 600
                                           RESOURCE_LOCK vistrel_fuzz_build)

foreach(target catalogue language calcfile number cli)
    add_test(NAME fuzz_${target}
             COMMAND ${VISTREL_FUZZ_SCRIPT} --seconds 10 --build-dir ${VISTREL_FUZZ_BUILD_DIR}
                     ${target})
    set_tests_properties(fuzz_${target} PROPERTIES FIXTURES_REQUIRED vistrel_fuzz_build
                                                   RESOURCE_LOCK vistrel_fuzz_build TIMEOUT 120
                                                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endforeach()

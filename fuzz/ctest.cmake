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

# A fixed seed and number of runs (about 10 s each on two cores), so that a
# failure here shows up again with the same command on another machine;
# `make fuzz` is where new inputs are searched for, with a random seed.
foreach(target_runs catalogue:12000 language:100000 calcfile:200000 projectfile:150000
                    number:1000000 cli:200000 session:3500 modeltable:18000)
    string(REPLACE ":" ";" target_runs ${target_runs})
    list(GET target_runs 0 target)
    list(GET target_runs 1 runs)
    add_test(NAME fuzz_${target}
             COMMAND ${VISTREL_FUZZ_SCRIPT} --runs ${runs} --seed 1 --build-dir
                     ${VISTREL_FUZZ_BUILD_DIR} ${target})
    set_tests_properties(fuzz_${target} PROPERTIES FIXTURES_REQUIRED vistrel_fuzz_build
                                                   RESOURCE_LOCK vistrel_fuzz_build TIMEOUT 300
                                                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endforeach()

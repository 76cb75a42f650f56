# Builds the fuzz targets with clang in <build>/fuzz, a build of its own,
# and gives each a test that runs it for a fixed number of inputs, so that
# the targets keep building and their seeds keep passing.
if(NOT SITEPINS_FUZZ_SMOKE OR SITEPINS_BUILD_FUZZERS)
    return()
endif()
find_program(SITEPINS_CLANGXX NAMES clang++ clang++-14)
if(NOT SITEPINS_CLANGXX)
    message(STATUS "Fuzz targets not run with the tests: clang++ not found")
    return()
endif()
execute_process(COMMAND ${SITEPINS_CLANGXX} -print-file-name=libclang_rt.fuzzer-x86_64.a
                OUTPUT_VARIABLE fuzzer_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS "${fuzzer_runtime}")
    message(STATUS "Fuzz targets not run with the tests: clang's libFuzzer is not installed")
    return()
endif()

include(ExternalProject)
include(${PROJECT_SOURCE_DIR}/fuzz/targets.cmake)
set(fuzz_build ${PROJECT_BINARY_DIR}/fuzz)
cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
ExternalProject_Add(sitepins_fuzz_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${fuzz_build}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=${SITEPINS_CLANGXX}
               -DSITEPINS_BUILD_FUZZERS=ON -DSITEPINS_BUILD_TESTS=OFF -DSITEPINS_BUILD_BENCHMARKS=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${fuzz_build} --target sitepins_fuzzers --parallel ${cores}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)

foreach(target ${SITEPINS_FUZZ_TARGETS})
    add_test(NAME Fuzz_${target}
             COMMAND ${CMAKE_COMMAND} -DFUZZER=${fuzz_build}/${target} -DSEEDS=${PROJECT_SOURCE_DIR}/fuzz/corpus/${target}
                     -DWORK=${fuzz_build}/work/${target} -DRUNS=${SITEPINS_FUZZ_SMOKE_RUNS}
                     -P ${PROJECT_SOURCE_DIR}/fuzz/RunFuzzer.cmake)
    set_tests_properties(Fuzz_${target} PROPERTIES TIMEOUT 300 LABELS fuzz)
endforeach()

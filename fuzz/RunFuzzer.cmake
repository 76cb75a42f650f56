# Runs one fuzz target for a fixed number of inputs from its seeds; new
# inputs go to a scratch corpus in the build folder, never into the seeds.
#   cmake -DFUZZER=<program> -DSEEDS=<folder> -DWORK=<folder> -DRUNS=<n> -P RunFuzzer.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/findings)
set(dictionary)
if(EXISTS ${SEEDS}.dict)
    set(dictionary -dict=${SEEDS}.dict)
endif()
execute_process(
    COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -max_len=4096 -timeout=10 -rss_limit_mb=2048 ${dictionary}
            -artifact_prefix=${WORK}/findings/ ${WORK}/corpus ${SEEDS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} found a fault; the input is in ${WORK}/findings")
endif()

# Compiles the help project with chmcmd and puts the help file in place only
# when it compiled cleanly. chmcmd reports a link to a missing file as a
# warning and still succeeds; a help file with dead links must fail the build.
#
# CHMCMD: the compiler; PROJECT_FILE: the .hhp (absolute); WORK_DIR: where
# chmcmd runs (it writes the file named by "Compiled file" there); OUTPUT: the
# help file's final path, whose name must be the one the project compiles to.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(
    COMMAND "${CHMCMD}" "${PROJECT_FILE}"
    WORKING_DIRECTORY "${WORK_DIR}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE report
    ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "chmcmd failed (${result}):\n${report}${errors}")
endif()
string(REGEX MATCHALL "(Warning|Error)[^\n]*" problems "${report}")
if(problems)
    list(JOIN problems "\n" problems)
    message(FATAL_ERROR "The help project has problems:\n${problems}")
endif()

get_filename_component(name "${OUTPUT}" NAME)
if(NOT EXISTS "${WORK_DIR}/${name}")
    message(FATAL_ERROR "chmcmd did not write ${name}; check \"Compiled file\" in ${PROJECT_FILE}")
endif()
file(COPY_FILE "${WORK_DIR}/${name}" "${OUTPUT}")

# Runs one scenario script and compares its transcript with the expected one beside it.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${RUNNER} ${SCRIPT} --work ${WORK}
                OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
string(REGEX REPLACE "\\.scn$" ".expected" expected_file ${SCRIPT})
file(READ ${expected_file} expected)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the runner failed (${status}): ${errors}")
endif()
if(NOT actual STREQUAL expected)
    file(WRITE ${WORK}.actual "${actual}")
    execute_process(COMMAND diff -u ${expected_file} ${WORK}.actual)
    message(FATAL_ERROR "the transcript differs from ${expected_file}; see ${WORK}.actual")
endif()

# The layering check refuses a copy of src/ with an include that runs upward, and one with an
# include of a sibling on the same floor, and accepts the copy as it is.
# Usage: cmake -DSOURCE_DIR=src -DCHECK=cmake/layers.cmake -DWORK=folder -P planted_include.cmake
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK}/src)

function(expect_check plant expected)
    if(plant)
        file(APPEND ${WORK}/src/${plant} "#include \"${expected}/planted.h\"\n")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK}/src -P ${CHECK}
                    RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(plant AND (status EQUAL 0 OR NOT errors MATCHES "src/${plant} includes ${expected}/"))
        message(FATAL_ERROR "${plant} including ${expected}/ was not refused: ${errors}")
    elseif(NOT plant AND NOT status EQUAL 0)
        message(FATAL_ERROR "the copy as it is was refused: ${errors}")
    endif()
endfunction()

expect_check("" "")
expect_check("common/errors.cpp" "predict")  # upward
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK}/src)
expect_check("watchlist/watchlist.h" "cli")  # a sibling on its floor
file(REMOVE_RECURSE ${WORK})

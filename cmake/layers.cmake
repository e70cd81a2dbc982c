# The floors of src/, from the ground up. A folder includes only folders on lower floors: never a
# folder above it, never a sibling on its own floor. A new folder must be given a floor here.
set(AURELANT_FLOORS
    "common"
    "platform"
    "state import"
    "output strategy viewer"
    "pricefile"
    "predict"
    "quotes"
    "chart cli fiveday repredict watchlist"
    "app"
    "gui")

# Stops the configuration with the first include in `source_dir` that runs sideways or upward.
function(aurelant_check_layers source_dir)
    set(floor 0)
    foreach(folders IN LISTS AURELANT_FLOORS)
        string(REPLACE " " ";" folders "${folders}")
        foreach(folder IN LISTS folders)
            set(floor_of_${folder} ${floor})
        endforeach()
        math(EXPR floor "${floor} + 1")
    endforeach()
    file(GLOB_RECURSE sources ${source_dir}/*.cpp ${source_dir}/*.h)
    foreach(source IN LISTS sources)
        file(RELATIVE_PATH relative ${source_dir} ${source})
        string(REGEX MATCH "^[^/]+" folder "${relative}")
        if(NOT DEFINED floor_of_${folder})
            message(FATAL_ERROR "src/${folder}/ stands on no floor; give it one in ${CMAKE_CURRENT_FUNCTION_LIST_FILE}.")
        endif()
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
        foreach(include IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*" "\\1" used "${include}")
            if(used STREQUAL folder OR NOT DEFINED floor_of_${used})
                continue()
            endif()
            if(NOT floor_of_${used} LESS floor_of_${folder})
                message(FATAL_ERROR "src/${relative} includes ${used}/, which stands on "
                        "${folder}/'s floor or above it; a folder includes only lower floors "
                        "(from the ground up: ${AURELANT_FLOORS}).")
            endif()
        endforeach()
    endforeach()
endfunction()

# As a script: cmake -DSOURCE_DIR=... -P layers.cmake
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    aurelant_check_layers(${SOURCE_DIR})
endif()

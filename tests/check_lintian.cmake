# Builds the Debian package and runs lintian on it. Any error fails; so does any warning,
# and in a Release build (the one that is shipped) any note, unless docs/packaging.md
# lists it among the tags that stay, as "- `TAG WORDS`", exactly as lintian prints it
# without the package name and the file.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CPACK} -G DEB --config ${BINARY_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE shown ERROR_VARIABLE shown)
file(GLOB deb ${WORK_DIR}/wxguide_*.deb)
if(NOT status EQUAL 0 OR NOT deb)
    message(FATAL_ERROR "cpack made no .deb:\n${shown}")
endif()

file(STRINGS ${KEPT_TAGS_DOC} kept REGEX "^- `[a-z][^`]*`")
list(TRANSFORM kept REPLACE "^- `([^`]*)`.*$" "\\1")

execute_process(COMMAND lintian --display-info --no-tag-display-limit ${deb}
                OUTPUT_VARIABLE report ERROR_VARIABLE ignored)
string(REPLACE "\n" ";" report "${report}")
set(failures "")
foreach(line IN LISTS report)
    if(NOT line MATCHES "^([A-Z]): wxguide[^:]*: ([^[]*[^[ ])")
        continue()
    endif()
    set(severity ${CMAKE_MATCH_1})
    set(tag "${CMAKE_MATCH_2}")
    if(severity STREQUAL "E" OR (severity STREQUAL "W" AND NOT tag IN_LIST kept)
       OR (BUILD_TYPE STREQUAL "Release" AND severity STREQUAL "I" AND NOT tag IN_LIST kept))
        string(APPEND failures "\n${line}")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "lintian on ${deb}:${failures}\n"
                        "(a tag that must stay is explained in ${KEPT_TAGS_DOC})")
endif()
file(REMOVE_RECURSE ${WORK_DIR})

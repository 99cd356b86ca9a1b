# The manual page must read without a single groff warning (the test is skipped where
# groff is missing).
find_program(GROFF groff)
if(NOT GROFF)
    message(FATAL_ERROR "groff is missing (apt-get install groff-base)")
endif()
execute_process(COMMAND ${GROFF} -man -ww -z ${PAGE} RESULT_VARIABLE status ERROR_VARIABLE warnings)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "groff -man -ww -z ${PAGE} (status ${status}):\n${warnings}")
endif()

# The sections a reader looks for at the end, the set kept in the environment, and the
# messages of assemble.
file(READ ${PAGE} page_text)
foreach(told "\n.SH SEE ALSO\n" "\n.SH AUTHORS\n" "WXGUIDE_STATIONS" "WXGUIDE_CITY" "No date has all "
        "the products hold no bulletin that option 1 takes" "cannot be read (permission denied)")
    string(FIND "${page_text}" "${told}" at)
    if(at LESS 0)
        message(FATAL_ERROR "${PAGE} does not hold ${told}")
    endif()
endforeach()

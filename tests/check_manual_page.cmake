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

# Runs one end-to-end case: the real program in a fresh folder holding the case's
# input files, its standard input from the case, and a byte-for-byte comparison of
# the console transcript and of every file the folder holds afterwards.
#
# A case folder holds:
#   stdin      what is typed (may be absent: no input at all)
#   stdout     the expected console transcript
#   files/     input files, copied into the working folder before the run (optional)
#   examples   names of bundled example files, one a line, copied in as inputs too and
#              expected unchanged after the run (optional; keeps a case on the real examples)
#   expected/  every file the folder must hold after the run, inputs included (optional;
#              when absent the folder must hold exactly the inputs, unchanged)
#   status     the expected exit status (optional; 0 when absent: 1 only where a report
#              could not be written)
# The program must write nothing to standard error.
#
# EMULATOR (a list joined with "|") runs a cross-compiled program. ACCEPT_CRLF takes a
# CR LF where the expected file has a LF, as Windows text mode writes it; nothing else
# may differ.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/run)
set(run_dir ${WORK_DIR}/run)
if(IS_DIRECTORY ${CASE_DIR}/files)
    file(COPY ${CASE_DIR}/files/ DESTINATION ${run_dir})
endif()

set(example_names "")
if(EXISTS ${CASE_DIR}/examples)
    file(STRINGS ${CASE_DIR}/examples example_names)
    foreach(name IN LISTS example_names)
        file(COPY ${EXAMPLES_DIR}/${name} DESTINATION ${run_dir})
    endforeach()
endif()

set(stdin_file ${CASE_DIR}/stdin)
if(NOT EXISTS ${stdin_file})
    set(stdin_file /dev/null)
endif()
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${PROGRAM}
                WORKING_DIRECTORY ${run_dir}
                INPUT_FILE ${stdin_file}
                OUTPUT_FILE ${WORK_DIR}/stdout
                ERROR_FILE ${WORK_DIR}/stderr
                RESULT_VARIABLE status
                TIMEOUT 30)

set(failures "")
# A file's bytes as hex pairs, each followed by a blank, so no match straddles two bytes.
function(read_bytes path out)
    file(READ ${path} hex HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
    set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

function(compare_file expected actual what)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected} ${actual}
                    RESULT_VARIABLE differ)
    if(differ AND ACCEPT_CRLF AND EXISTS ${actual})
        read_bytes(${expected} wanted)
        read_bytes(${actual} written)
        string(REPLACE "0d 0a " "0a " written "${written}")
        if(written STREQUAL wanted)
            set(differ 0)
        endif()
    endif()
    if(differ)
        execute_process(COMMAND diff -u ${expected} ${actual} OUTPUT_VARIABLE shown)
        set(failures "${failures}\n${what} differs from ${expected}:\n${shown}" PARENT_SCOPE)
    endif()
endfunction()

set(expected_status 0)
if(EXISTS ${CASE_DIR}/status)
    file(STRINGS ${CASE_DIR}/status expected_status LIMIT_COUNT 1)
endif()
if(NOT status STREQUAL expected_status)
    string(APPEND failures "\nexit status: ${status} (expected ${expected_status})")
endif()
file(READ ${WORK_DIR}/stderr errors)
if(NOT errors STREQUAL "")
    string(APPEND failures "\nstandard error was not empty:\n${errors}")
endif()
compare_file(${CASE_DIR}/stdout ${WORK_DIR}/stdout "console transcript")

if(IS_DIRECTORY ${CASE_DIR}/expected)
    set(expected_dir ${CASE_DIR}/expected)
elseif(IS_DIRECTORY ${CASE_DIR}/files)
    set(expected_dir ${CASE_DIR}/files)
else()
    set(expected_dir "")
endif()

set(expected_names "")
if(expected_dir)
    file(GLOB_RECURSE expected_names RELATIVE ${expected_dir} ${expected_dir}/*)
endif()
foreach(name IN LISTS example_names)
    compare_file(${EXAMPLES_DIR}/${name} ${run_dir}/${name} "example ${name}")
endforeach()
set(file_names ${expected_names} ${example_names})
file(GLOB_RECURSE actual_names RELATIVE ${run_dir} ${run_dir}/*)
list(SORT file_names)
list(SORT actual_names)
if(NOT "${file_names}" STREQUAL "${actual_names}")
    string(APPEND failures "\nfiles after the run: [${actual_names}]\n  expected: [${file_names}]")
endif()
foreach(name IN LISTS expected_names)
    if(EXISTS ${run_dir}/${name} AND NOT IS_SYMLINK ${expected_dir}/${name})
        compare_file(${expected_dir}/${name} ${run_dir}/${name} "file ${name}")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "case ${CASE_DIR} failed:${failures}\n(kept in ${WORK_DIR})")
endif()
file(REMOVE_RECURSE ${WORK_DIR})

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
#   args       the program's arguments, one run a line, words separated by blanks; the
#              runs follow one another in the same folder, each with the whole stdin, and
#              their transcripts follow one another too (optional: one run, no arguments)
#   status     the exit status of each run in turn (optional: every run exits with 0)
#   stderr     what the runs write to standard error (optional: nothing)
#   env        NAME=VALUE lines, the environment of every run (optional); a station set
#              kept in the caller's environment never reaches a run
#   generate.cmake  a script that writes input files too large to keep in the case into
#              the folder OUT_DIR; they are copied in and expected unchanged (optional)
#
# KEEP_SIDE_FILE_DEFAULTS keeps WXGUIDE_PLOT and WXGUIDE_CSV as the environment gives them.
# EMULATOR (a list joined with "|") runs a cross-compiled program. ACCEPT_CRLF takes a
# CR LF where the expected file has a LF, as Windows text mode writes it; nothing else
# may differ.

cmake_minimum_required(VERSION 3.25)

# A forecaster's defaults for the files beside each report must not change a case, unless
# the case is about them (KEEP_SIDE_FILE_DEFAULTS).
if(NOT KEEP_SIDE_FILE_DEFAULTS)
    unset(ENV{WXGUIDE_PLOT})
    unset(ENV{WXGUIDE_CSV})
endif()

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

set(generated_names "")
if(EXISTS ${CASE_DIR}/generate.cmake)
    set(generated_dir ${WORK_DIR}/generated)
    file(MAKE_DIRECTORY ${generated_dir})
    execute_process(COMMAND ${CMAKE_COMMAND} -DOUT_DIR=${generated_dir}
                            -P ${CASE_DIR}/generate.cmake
                    RESULT_VARIABLE generated)
    if(NOT generated EQUAL 0)
        message(FATAL_ERROR "case ${CASE_DIR}: generate.cmake failed")
    endif()
    file(GLOB_RECURSE generated_names RELATIVE ${generated_dir} ${generated_dir}/*)
    file(COPY ${generated_dir}/ DESTINATION ${run_dir})
endif()

set(stdin_file ${CASE_DIR}/stdin)
if(NOT EXISTS ${stdin_file})
    set(stdin_file /dev/null)
endif()
set(args_text "")
if(EXISTS ${CASE_DIR}/args)
    file(READ ${CASE_DIR}/args args_text)
    string(REGEX REPLACE "\n$" "" args_text "${args_text}")
endif()
# Every run's line gets a leading "@", so that an empty line still counts as a run.
string(REPLACE ";" "\\;" args_text "${args_text}")
string(REPLACE "\n" ";@" runs "@${args_text}")
set(expected_statuses "")
if(EXISTS ${CASE_DIR}/status)
    file(READ ${CASE_DIR}/status status_text)
    string(REGEX MATCHALL "[0-9]+" expected_statuses "${status_text}")
endif()

string(REPLACE "|" ";" emulator "${EMULATOR}")
set(run_environment --unset=WXGUIDE_STATIONS --unset=WXGUIDE_CITY)
if(EXISTS ${CASE_DIR}/env)
    file(STRINGS ${CASE_DIR}/env environment_lines)
    list(APPEND run_environment ${environment_lines})
endif()
set(statuses "")
set(stdout_parts "")
set(stderr_parts "")
set(run_count 0)
foreach(run_line IN LISTS runs)
    string(SUBSTRING "${run_line}" 1 -1 run_args)
    separate_arguments(run_words UNIX_COMMAND "${run_args}")
    math(EXPR run_count "${run_count} + 1")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${run_environment}
                            ${emulator} ${PROGRAM} ${run_words}
                    WORKING_DIRECTORY ${run_dir}
                    INPUT_FILE ${stdin_file}
                    OUTPUT_FILE ${WORK_DIR}/stdout.${run_count}
                    ERROR_FILE ${WORK_DIR}/stderr.${run_count}
                    RESULT_VARIABLE status
                    TIMEOUT 30)
    list(APPEND statuses ${status})
    list(APPEND stdout_parts ${WORK_DIR}/stdout.${run_count})
    list(APPEND stderr_parts ${WORK_DIR}/stderr.${run_count})
endforeach()
# The transcripts of the runs, one after another, byte for byte.
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${stdout_parts} OUTPUT_FILE ${WORK_DIR}/stdout)
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${stderr_parts} OUTPUT_FILE ${WORK_DIR}/stderr)
file(REMOVE ${stdout_parts} ${stderr_parts})
if(NOT expected_statuses)
    foreach(run RANGE 1 ${run_count})
        list(APPEND expected_statuses 0)
    endforeach()
endif()

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

if(NOT "${statuses}" STREQUAL "${expected_statuses}")
    string(APPEND failures "\nexit statuses: ${statuses} (expected ${expected_statuses})")
endif()
if(EXISTS ${CASE_DIR}/stderr)
    compare_file(${CASE_DIR}/stderr ${WORK_DIR}/stderr "standard error")
else()
    file(READ ${WORK_DIR}/stderr errors)
    if(NOT errors STREQUAL "")
        string(APPEND failures "\nstandard error was not empty:\n${errors}")
    endif()
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
foreach(name IN LISTS generated_names)
    compare_file(${generated_dir}/${name} ${run_dir}/${name} "generated ${name}")
endforeach()
set(file_names ${expected_names} ${example_names} ${generated_names})
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

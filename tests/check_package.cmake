# Builds the Debian package, unpacks it into a fresh root and runs the unpacked program:
# --help, --version, and every end-to-end case on the bundled examples (one session of
# each option) with the packaged program on the packaged examples.
cmake_minimum_required(VERSION 3.25)

foreach(tool dpkg-deb dpkg)
    find_program(found_${tool} ${tool})
    if(NOT found_${tool})
        message(FATAL_ERROR "${tool} is missing (apt-get install dpkg-dev)")
    endif()
endforeach()
find_program(found_shlibdeps dpkg-shlibdeps)
if(NOT found_shlibdeps)
    message(FATAL_ERROR "dpkg-shlibdeps is missing (apt-get install dpkg-dev)")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${CPACK} -G DEB --config ${BINARY_DIR}/CPackConfig.cmake -B ${WORK_DIR}/pack
                RESULT_VARIABLE status OUTPUT_VARIABLE shown ERROR_VARIABLE shown)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${WORK_DIR}/pack/wxguide_${VERSION}_${arch}.deb)
if(NOT status EQUAL 0 OR NOT EXISTS ${deb})
    message(FATAL_ERROR "cpack made no ${deb}:\n${shown}")
endif()

set(failures "")
foreach(field_value "Package=wxguide" "Version=${VERSION}" "Section=science" "Maintainer=.*<.+@.+>"
                    "Depends=libc6 .*libstdc\\+\\+6 .*" "Description=.+")
    string(REGEX MATCH "^[^=]+" field ${field_value})
    string(REGEX REPLACE "^[^=]+=" "" pattern ${field_value})
    execute_process(COMMAND dpkg-deb -f ${deb} ${field} OUTPUT_VARIABLE value
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT value MATCHES "^(${pattern})$")
        string(APPEND failures "\ncontrol field ${field}: \"${value}\" does not match ${pattern}")
    endif()
endforeach()

set(root ${WORK_DIR}/root)
execute_process(COMMAND dpkg-deb -x ${deb} ${root} RESULT_VARIABLE status)
set(program ${root}/usr/bin/wxguide)
set(examples ${root}/usr/share/doc/wxguide/examples)
foreach(path ${program} ${root}/usr/share/man/man1/wxguide.1
             ${root}/usr/share/doc/wxguide/README.md ${examples}/bulletins.txt ${examples}/bulletins_nam.txt
             ${examples}/gfs.txt ${examples}/severe.txt)
    if(NOT EXISTS ${path})
        string(APPEND failures "\nthe package lacks ${path}")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "package ${deb}:${failures}")
endif()

execute_process(COMMAND ${program} --version RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out STREQUAL "wxguide ${VERSION}\n" OR NOT err STREQUAL "")
    string(APPEND failures "\n--version: status ${status}, printed \"${out}\" \"${err}\"")
endif()
execute_process(COMMAND ${program} --help RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "^Usage: wxguide" OR NOT err STREQUAL "")
    string(APPEND failures "\n--help: status ${status}, printed \"${out}\" \"${err}\"")
endif()

# Every case that runs on bundled examples, again with the packaged program and files.
file(GLOB cases ${E2E_DIR}/*/examples)
if(NOT cases)
    string(APPEND failures "\nno end-to-end case runs on the bundled examples")
endif()
foreach(examples_list IN LISTS cases)
    get_filename_component(case_dir ${examples_list} DIRECTORY)
    get_filename_component(case_name ${case_dir} NAME)
    execute_process(COMMAND ${CMAKE_COMMAND} -DPROGRAM=${program} -DCASE_DIR=${case_dir}
                            -DEXAMPLES_DIR=${examples} -DWORK_DIR=${WORK_DIR}/e2e/${case_name}
                            -P ${E2E_DIR}/../run_e2e_case.cmake
                    RESULT_VARIABLE status OUTPUT_VARIABLE shown ERROR_VARIABLE shown)
    if(NOT status EQUAL 0)
        string(APPEND failures "\ncase ${case_name} with the packaged program:\n${shown}")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "package ${deb}:${failures}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})

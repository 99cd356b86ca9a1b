# Tries the examples as the README's set-up does, in the source tree's examples folder,
# then builds the Debian package, unpacks it into a fresh root and runs the unpacked
# program: --help, --version, and every end-to-end case on the bundled examples (one
# session of each option) with the packaged program on the packaged examples. The
# reports the set-up left must not ship; the check removes the ones it made.
# A Release build's program must also be hardened. Last, cpack must refuse to pack when
# dpkg-shlibdeps and file are missing.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# The README's set-up: option 1 on bulletins.txt, 2 to 5 on gfs.txt, 6 on severe.txt,
# run in examples/ itself.
file(GLOB reports_before ${EXAMPLES_DIR}/*.out)
file(WRITE ${WORK_DIR}/set-up.txt
     "1\nbulletins.txt\n0.6\n2\ngfs.txt\n3\ngfs.txt\n4\ngfs.txt\n5\ngfs.txt\n6\nsevere.txt\n7\n")
execute_process(COMMAND ${PROGRAM} WORKING_DIRECTORY ${EXAMPLES_DIR}
                INPUT_FILE ${WORK_DIR}/set-up.txt OUTPUT_QUIET ERROR_QUIET)
file(GLOB reports_after ${EXAMPLES_DIR}/*.out)
set(reports_made ${reports_after})
if(reports_before)
    list(REMOVE_ITEM reports_made ${reports_before})
endif()

execute_process(COMMAND ${CPACK} -G DEB --config ${BINARY_DIR}/CPackConfig.cmake -B ${WORK_DIR}/pack
                RESULT_VARIABLE status OUTPUT_VARIABLE shown ERROR_VARIABLE shown)
if(reports_made)
    file(REMOVE ${reports_made})
endif()

set(failures "")
foreach(report bulletins.out gfs.out severe.out)
    if(NOT ${EXAMPLES_DIR}/${report} IN_LIST reports_after)
        string(APPEND failures "\nthe set-up made no ${report} in ${EXAMPLES_DIR}")
    endif()
endforeach()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${WORK_DIR}/pack/wxguide_${VERSION}_${arch}.deb)
if(NOT status EQUAL 0 OR NOT EXISTS ${deb})
    message(FATAL_ERROR "cpack made no ${deb}:\n${shown}")
endif()

foreach(field_value "Package=wxguide" "Version=${VERSION}" "Section=science" "Maintainer=.*<[^>]+@[^>]+[.](com|org|net|io)>"
                    "Depends=libc6 .*libstdc\\+\\+6 .*" "Description=.+")
    string(REGEX MATCH "^[^=]+" field ${field_value})
    string(REGEX REPLACE "^[^=]+=" "" pattern ${field_value})
    execute_process(COMMAND dpkg-deb -f ${deb} ${field} OUTPUT_VARIABLE value
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT value MATCHES "^(${pattern})$")
        string(APPEND failures "\ncontrol field ${field}: \"${value}\" does not match ${pattern}")
    endif()
endforeach()

# What the package's description tells a forecaster who looks for it: the inputs beyond
# plain text and the files beside the reports.
execute_process(COMMAND dpkg-deb -f ${deb} Description OUTPUT_VARIABLE description)
foreach(told BUFKIT GRIB2 picture CSV)
    string(FIND "${description}" "${told}" at)
    if(at LESS 0)
        string(APPEND failures "\nthe Description does not name ${told}")
    endif()
endforeach()

# Every file the package holds: no report, and of the examples exactly the listed ones.
execute_process(COMMAND dpkg-deb --fsys-tarfile ${deb} COMMAND tar -t OUTPUT_VARIABLE listing)
string(REPLACE "\n" ";" listing "${listing}")
set(shipped_examples "")
foreach(path IN LISTS listing)
    if(path MATCHES "\\.out$")
        string(APPEND failures "\nthe package ships a report: ${path}")
    endif()
    if(path MATCHES "^\\./usr/share/doc/wxguide/examples/(.+[^/])$")
        list(APPEND shipped_examples ${CMAKE_MATCH_1})
    endif()
endforeach()
string(REPLACE "|" ";" wanted_examples "README.md|${EXAMPLE_FILES}")
list(SORT shipped_examples)
list(SORT wanted_examples)
if(NOT shipped_examples STREQUAL wanted_examples)
    string(APPEND failures "\nthe package's examples are \"${shipped_examples}\", not \"${wanted_examples}\"")
endif()

set(root ${WORK_DIR}/root)
execute_process(COMMAND dpkg-deb -x ${deb} ${root} RESULT_VARIABLE status)
set(program ${root}/usr/bin/wxguide)
set(doc ${root}/usr/share/doc/wxguide)
set(examples ${doc}/examples)
foreach(path ${program} ${root}/usr/share/man/man1/wxguide.1.gz ${doc}/README.md ${doc}/copyright
             ${doc}/changelog.gz ${root}/usr/share/bash-completion/completions/wxguide
             ${root}/usr/share/wxguide/stations.csv ${root}/usr/share/wxguide/sources.txt)
    if(NOT EXISTS ${path})
        string(APPEND failures "\nthe package lacks ${path}")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "package ${deb}:${failures}")
endif()

execute_process(COMMAND file -b ${program} OUTPUT_VARIABLE kind)
if(NOT kind MATCHES ", stripped")
    string(APPEND failures "\nthe program is not stripped: ${kind}")
endif()
# The shipped (Release) build is hardened: position-independent, stack protector and
# fortified calls, relocations read-only after start-up and bound at once.
if(BUILD_TYPE STREQUAL "Release")
    execute_process(COMMAND readelf -d -l -W --dyn-syms ${program} OUTPUT_VARIABLE elf)
    foreach(feature "Flags: NOW PIE" "GNU_RELRO" "__stack_chk_fail" "__[a-z]+_chk@")
        if(NOT elf MATCHES "${feature}")
            string(APPEND failures "\nthe program is not hardened: readelf shows no ${feature}")
        endif()
    endforeach()
endif()
execute_process(COMMAND gzip -dc ${doc}/changelog.gz OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^wxguide \\(${VERSION}\\) unstable; urgency=medium\n")
    string(APPEND failures "\nthe changelog does not start with version ${VERSION}")
endif()
execute_process(COMMAND gzip -dc ${root}/usr/share/man/man1/wxguide.1.gz OUTPUT_VARIABLE page)
if(NOT page MATCHES "^\\.TH WXGUIDE 1 [^\n]* \"wxguide ${VERSION}\"")
    string(APPEND failures "\nthe manual page's title line lacks wxguide ${VERSION}")
endif()
file(READ ${doc}/copyright copyright)
if(NOT copyright MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
   OR NOT copyright MATCHES "\nCopyright: [0-9]+ The wxguide authors\nLicense: Expat\n Permission")
    string(APPEND failures "\nthe copyright file is not DEP-5 with the MIT (Expat) licence:\n${copyright}")
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

# The installed program finds its station table from its own folder, wherever it runs.
execute_process(COMMAND ${program} --city 44.03,-97.22 stations --count 1
                WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "^KMDS  1 +10.8 km  Madison" OR NOT err STREQUAL "")
    string(APPEND failures "\nstations from the packaged table: status ${status}, printed \"${out}\" \"${err}\"")
endif()
if(NOT copyright MATCHES "\nFiles: data/stations.csv\nCopyright: [^\n]+\nLicense: ISC\n Permission")
    string(APPEND failures "\nthe copyright file does not give the station table's ISC licence")
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

# Without dpkg-shlibdeps and file on the PATH, cpack must stop and name what to install
# rather than make a .deb without Depends.
file(MAKE_DIRECTORY ${WORK_DIR}/empty-path)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=${WORK_DIR}/empty-path
                        ${CPACK} -G DEB --config ${BINARY_DIR}/CPackConfig.cmake -B ${WORK_DIR}/bare
                RESULT_VARIABLE status OUTPUT_VARIABLE shown ERROR_VARIABLE shown)
file(GLOB bare_debs ${WORK_DIR}/bare/*.deb)
if(status EQUAL 0 OR bare_debs OR NOT shown MATCHES "missing:[ \n]+dpkg-dev[ \n]+file")
    string(APPEND failures "\ncpack without dpkg-dev and file: status ${status}, made \"${bare_debs}\":\n${shown}")
endif()

if(failures)
    message(FATAL_ERROR "package ${deb}:${failures}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})

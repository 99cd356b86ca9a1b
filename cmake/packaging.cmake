# Install layout of a Debian tool, and the .deb built from it with `cpack -G DEB`.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/examples.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/debian_docs.cmake)

set(WXGUIDE_MAINTAINER "wxguide developers <wxguide@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")

# Debian wants the manual page and the changelog compressed at the highest level and
# without a time stamp, so that rebuilding the package gives the same bytes.
find_program(WXGUIDE_GZIP gzip REQUIRED)
function(wxguide_gzip source compressed)
    execute_process(COMMAND ${WXGUIDE_GZIP} -9 -n -c ${source} OUTPUT_FILE ${compressed}
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "gzip could not compress ${source}")
    endif()
endfunction()

set(debian_dir ${PROJECT_BINARY_DIR}/debian)
file(MAKE_DIRECTORY ${debian_dir})
# The manual page carries the project's version in its title line.
configure_file(${PROJECT_SOURCE_DIR}/doc/wxguide.1.in ${PROJECT_BINARY_DIR}/wxguide.1 @ONLY)
wxguide_gzip(${PROJECT_BINARY_DIR}/wxguide.1 ${debian_dir}/wxguide.1.gz)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/LICENSE
             ${PROJECT_SOURCE_DIR}/data/stations.LICENSE)
wxguide_debian_changelog(${PROJECT_SOURCE_DIR}/CHANGELOG.md ${debian_dir}/changelog wxguide
                         ${WXGUIDE_MAINTAINER})
wxguide_gzip(${debian_dir}/changelog ${debian_dir}/changelog.gz)
wxguide_debian_copyright(${PROJECT_SOURCE_DIR}/LICENSE ${debian_dir}/copyright wxguide
                         ${WXGUIDE_MAINTAINER}
                         data/stations.csv ISC ${PROJECT_SOURCE_DIR}/data/stations.LICENSE)

install(TARGETS wxguide RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (cpack's, or `cmake --install --strip`) also drops the compiler's
# .comment and the .note section, as Debian's own stripping does.
install(CODE "set(wxguide_objcopy \"${CMAKE_OBJCOPY}\")
set(wxguide_installed_program \"${CMAKE_INSTALL_BINDIR}/wxguide\")")
install(CODE [[
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND ${wxguide_objcopy} --remove-section=.comment --remove-section=.note
                                $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${wxguide_installed_program}
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
]])
install(FILES ${debian_dir}/wxguide.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${debian_dir}/copyright ${debian_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${wxguide_example_files} ${PROJECT_SOURCE_DIR}/examples/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/data/stations.csv ${PROJECT_SOURCE_DIR}/data/sources.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/wxguide)
install(FILES ${PROJECT_SOURCE_DIR}/doc/wxguide.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME wxguide)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wxguide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns weather model guidance into local forecast tables")
set(CPACK_PACKAGE_CONTACT ${WXGUIDE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
# cpack reads this before it packs: it stops when a tool the .deb needs is missing.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_tools.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${WXGUIDE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above is the Description's first line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "wxguide is a console program for weather forecasters. It reads model guidance
saved as plain text (MOS bulletins, model column and severe weather runs),
converts the values into degrees Fahrenheit, inches of mercury, inches of
precipitation and miles per hour, and writes fixed-layout report tables: a
seven-day station blend forecast and one table per model run. It makes the
model files from BUFKIT profiles and GRIB2 model output, and draws each
report's values as a picture (SVG) and writes them as CSV spreadsheets.")
include(CPack)

# Install layout of a Debian tool, and the .deb built from it with `cpack -G DEB`.
include(GNUInstallDirs)

# The manual page carries the project's version in its title line.
configure_file(${PROJECT_SOURCE_DIR}/doc/wxguide.1.in ${PROJECT_BINARY_DIR}/wxguide.1 @ONLY)

install(TARGETS wxguide RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/wxguide.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(WXGUIDE_MAINTAINER "wxguide maintainers <maintainers@users.noreply.c-seed-2a8fe1ef.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wxguide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns weather model guidance into local forecast tables")
set(CPACK_PACKAGE_CONTACT ${WXGUIDE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${WXGUIDE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The summary above is the Description's first line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "wxguide is a console program for weather forecasters. It reads model guidance
saved as plain text (MOS bulletins, model column and severe weather runs),
converts the values into degrees Fahrenheit, inches of mercury, inches of
precipitation and miles per hour, and writes fixed-layout report tables: a
seven-day station blend forecast and one table per model run.")
include(CPack)

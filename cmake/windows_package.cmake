# The Windows download: wxguide-<version>-win64.zip with wxguide.exe, the examples and
# a README text with CR LF line ends, so Notepad on any Windows shows its lines.
install(TARGETS wxguide RUNTIME DESTINATION .)
install(FILES examples/bulletins.txt examples/bulletins_nam.txt examples/gfs.txt examples/severe.txt
        DESTINATION examples)

# Notepad before Windows 10 shows a file with bare LF line ends as one long line.
function(wxguide_install_text_with_crlf source destination name)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    set(converted ${CMAKE_CURRENT_BINARY_DIR}/package/${destination}/${name})
    file(WRITE ${converted} "${text}")
    install(FILES ${converted} DESTINATION ${destination})
endfunction()
wxguide_install_text_with_crlf(${PROJECT_SOURCE_DIR}/README.md . README.txt)
wxguide_install_text_with_crlf(${PROJECT_SOURCE_DIR}/examples/README.md examples README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME wxguide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME wxguide-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

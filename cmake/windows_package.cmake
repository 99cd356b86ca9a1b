# The Windows download: wxguide-<version>-win64.zip with wxguide.exe, the station table,
# the examples, a README.txt written for Windows users and the licence, the texts with
# CR LF line ends.
include(${CMAKE_CURRENT_LIST_DIR}/examples.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/crlf_text.cmake)

install(TARGETS wxguide RUNTIME DESTINATION .)
install(FILES ${wxguide_example_files} DESTINATION examples)
# The station table beside wxguide.exe, where the program looks for it.
install(FILES ${PROJECT_SOURCE_DIR}/data/stations.csv ${PROJECT_SOURCE_DIR}/data/sources.txt
        DESTINATION .)

function(wxguide_install_text_with_crlf source destination name)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    set(converted ${PROJECT_BINARY_DIR}/package/${destination}/${name})
    wxguide_crlf_text(${source} ${converted} ${PROJECT_VERSION})
    install(FILES ${converted} DESTINATION ${destination})
endfunction()
wxguide_install_text_with_crlf(${PROJECT_SOURCE_DIR}/doc/README.windows.txt . README.txt)
wxguide_install_text_with_crlf(${PROJECT_SOURCE_DIR}/LICENSE . LICENSE.txt)
wxguide_install_text_with_crlf(${PROJECT_SOURCE_DIR}/examples/README.md examples README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME wxguide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME wxguide-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

# Read by cpack before it packs. Without dpkg-shlibdeps (dpkg-dev) CPack makes a .deb
# with no Depends and only prints a notice, and without `file` it cannot tell which
# installed files are programs to scan: stop with the package to install instead.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(missing "")
    foreach(tool_package dpkg-shlibdeps=dpkg-dev file=file)
        string(REPLACE "=" ";" tool_package ${tool_package})
        list(GET tool_package 0 tool)
        list(GET tool_package 1 package)
        # Where the shell finds it: the PATH, as a forecaster's apt-get installs it.
        find_program(wxguide_found_${tool} ${tool} NO_CACHE NO_CMAKE_PATH
                     NO_CMAKE_ENVIRONMENT_PATH NO_CMAKE_SYSTEM_PATH)
        if(NOT wxguide_found_${tool})
            string(APPEND missing " ${package}")
        endif()
    endforeach()
    if(missing)
        message(FATAL_ERROR "A .deb needs dpkg-dev (dpkg-shlibdeps writes its Depends) and file; "
                            "missing:${missing}\n"
                            "Install them as root: apt-get install${missing} (or tools/deps --package)")
    endif()
endif()

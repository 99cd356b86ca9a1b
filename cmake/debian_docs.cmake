# The Debian package's changelog and copyright file, made from CHANGELOG.md and LICENSE
# so that each fact is written once.

# Appends `text` to the variable `out`, wrapped at 79 columns: the first line starts
# with `first`, the others with `rest`. Debian's tools want changelog lines under 80.
function(wxguide_wrap_text out first rest text)
    string(REGEX REPLACE "[ \t]+" ";" words "${text}")
    set(result "${${out}}")
    set(line "${first}")
    set(line_has_word OFF)
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(line_has_word AND length GREATER 79)
            string(APPEND result "${line}\n")
            set(line "${rest}${word}")
        elseif(line_has_word)
            string(APPEND line " ${word}")
        else()
            string(APPEND line "${word}")
            set(line_has_word ON)
        endif()
    endforeach()
    string(APPEND result "${line}\n")
    set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The day of the week of a date, as the changelog's trailer line names it.
function(wxguide_weekday out year month day)
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    if(month LESS 3)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
    set(names Sun Mon Tue Wed Thu Fri Sat)
    list(GET names ${weekday} name)
    set(${out} ${name} PARENT_SCOPE)
endfunction()

# Writes the Debian changelog of `package` to `output` from a changelog in Keep a
# Changelog form: each released version becomes one entry, its sections and items kept
# in order. Unreleased changes stay out until they have a version.
function(wxguide_debian_changelog markdown output package maintainer)
    file(READ ${markdown} text)
    # Semicolons and brackets would split or join the lists of lines and words below:
    # they stand in as placeholders until the text is written.
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "[" "<open>" text "${text}")
    string(REPLACE "]" "<close>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    set(release_heading "^## <open>([0-9][^<]*)<close> - ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])")
    set(release_dates "")
    foreach(line IN LISTS lines)
        if(line MATCHES "${release_heading}")
            list(APPEND release_dates "${CMAKE_MATCH_2}-${CMAKE_MATCH_3}-${CMAKE_MATCH_4}")
        endif()
    endforeach()
    set(entry 0)
    set(result "")
    set(trailer "")
    set(item "")
    set(in_release OFF)
    # A sentinel heading flushes the last item and the last entry's trailer.
    list(APPEND lines "## end")
    foreach(line IN LISTS lines)
        if(NOT item STREQUAL "" AND NOT line MATCHES "^  +[^ ]")
            string(REPLACE "`" "" item "${item}")
            wxguide_wrap_text(result "    - " "      " "${item}")
            set(item "")
        endif()
        if(line MATCHES "^## ")
            if(in_release)
                string(APPEND result "\n${trailer}\n")
            endif()
            set(in_release OFF)
            if(line MATCHES "${release_heading}")
                set(version ${CMAKE_MATCH_1})
                set(year ${CMAKE_MATCH_2})
                set(month_text ${CMAKE_MATCH_3})
                math(EXPR month "${month_text}")
                set(day ${CMAKE_MATCH_4})
                wxguide_weekday(weekday ${year} ${month} ${day})
                math(EXPR month_index "${month} - 1")
                list(GET months ${month_index} month_name)
                if(NOT result STREQUAL "")
                    string(APPEND result "\n")
                endif()
                string(APPEND result "${package} (${version}) unstable; urgency=medium\n\n")
                # Each entry must be newer than the one below it: versions released on
                # one day are stamped a minute apart, the oldest at midnight.
                math(EXPR entry "${entry} + 1")
                set(older_dates "")
                list(LENGTH release_dates releases)
                if(entry LESS releases)
                    list(SUBLIST release_dates ${entry} -1 older_dates)
                endif()
                list(FILTER older_dates INCLUDE REGEX "^${year}-${month_text}-${day}$")
                list(LENGTH older_dates minute)
                if(minute LESS 10)
                    set(minute 0${minute})
                endif()
                set(trailer " -- ${maintainer}  ${weekday}, ${day} ${month_name} ${year} 00:${minute}:00 +0000")
                set(in_release ON)
            elseif(line MATCHES "^## <open>[0-9]")
                message(FATAL_ERROR "${markdown}: \"${line}\" needs the form ## [VERSION] - YYYY-MM-DD")
            endif()
        elseif(in_release AND line MATCHES "^### (.+)$")
            string(APPEND result "  * ${CMAKE_MATCH_1}:\n")
        elseif(in_release AND line MATCHES "^- (.+)$")
            set(item "${CMAKE_MATCH_1}")
        elseif(in_release AND NOT item STREQUAL "" AND line MATCHES "^ +(.+)$")
            string(APPEND item " ${CMAKE_MATCH_1}")
        endif()
    endforeach()
    if(result STREQUAL "")
        message(FATAL_ERROR "${markdown} holds no released version")
    endif()
    string(REPLACE "<semicolon>" ";" result "${result}")
    string(REPLACE "<open>" "[" result "${result}")
    string(REPLACE "<close>" "]" result "${result}")
    file(WRITE ${output} "${result}")
endfunction()

# Reads a licence file: the holder of its "Copyright (c) YEAR HOLDER" line, and the
# permission text that follows it written as DEP-5 continuation lines.
function(wxguide_dep5_licence license holder_var body_var)
    file(READ ${license} text)
    if(NOT text MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.+)$")
        message(FATAL_ERROR "${license} lacks its \"Copyright (c) YEAR HOLDER\" line")
    endif()
    set(${holder_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    string(STRIP "${CMAKE_MATCH_2}" body)
    # Continuation lines start with a blank; an empty line is written as " .".
    string(REPLACE "\n\n" "\n.\n" body "${body}")
    string(REPLACE "\n" "\n " body "${body}")
    set(${body_var} "${body}" PARENT_SCOPE)
endfunction()

# Writes a machine-readable (DEP-5) copyright file for `package` from an MIT LICENSE.
# Further arguments, three at a time, add a paragraph for files under another licence:
# the files, the licence's short name and its licence file.
function(wxguide_debian_copyright license output package contact)
    wxguide_dep5_licence(${license} holder body)
    set(text
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
        "Upstream-Name: ${package}\n"
        "Upstream-Contact: ${contact}\n"
        "\n"
        "Files: *\n"
        "Copyright: ${holder}\n"
        "License: Expat\n"
        " ${body}\n")
    set(others ${ARGN})
    while(others)
        list(POP_FRONT others files name other_license)
        wxguide_dep5_licence(${other_license} other_holder other_body)
        list(APPEND text "\nFiles: ${files}\nCopyright: ${other_holder}\nLicense: ${name}\n"
                         " ${other_body}\n")
    endwhile()
    string(JOIN "" text ${text})
    file(WRITE ${output} "${text}")
endfunction()

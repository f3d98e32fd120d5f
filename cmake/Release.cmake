# The release: CHANGELOG.md (Keep a Changelog form) is read once here. Its newest release must be
# the project's version, so the version stays set in one place (project() in CMakeLists.txt) and
# the changelog cannot fall behind it. From it the build makes the Debian changelog and the
# AppStream release list.
#
# Sets SCRIVLET_RELEASE_DATE (YYYY-MM-DD of the newest release), SCRIVLET_APPSTREAM_RELEASES
# (the <release> elements) and SCRIVLET_DEBIAN_CHANGELOG (the path of the gzipped changelog).

set(SCRIVLET_PACKAGE_MAINTAINER "The Scrivlet developers <scrivlet@localhost>"
    CACHE STRING "Maintainer field of the Debian package and its changelog (Name <address>)")

# The lines of a text file as a list, empty lines kept; a ";" in the text survives the list.
function(scrivlet_read_lines path out)
    file(READ ${path} text)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    string(REPLACE ";" "\\;" text "${text}")
    string(REGEX REPLACE "\n$" "" text "${text}")
    string(REPLACE "\n" ";" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

scrivlet_read_lines(${CMAKE_SOURCE_DIR}/CHANGELOG.md changelog_lines)

# Day of the week of a date (Zeller's congruence), as RFC 2822 names it.
function(scrivlet_weekday year month day out)
    if(month LESS 3)
        math(EXPR month "${month} + 12")
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR k "${year} % 100")
    math(EXPR j "${year} / 100")
    math(EXPR h "(${day} + (13 * (${month} + 1)) / 5 + ${k} + ${k} / 4 + ${j} / 4 + 5 * ${j}) % 7")
    set(names Sat Sun Mon Tue Wed Thu Fri)
    list(GET names ${h} name)
    set(${out} ${name} PARENT_SCOPE)
endfunction()

set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(releases "")     # versions, newest first
set(debian_text "")
set(appstream_text "")
set(version "")
set(entries "")      # Debian lines of the release being read

macro(scrivlet_close_release)
    if(version)
        string(APPEND debian_text "scrivlet (${version}) unstable; urgency=medium\n\n${entries}\n"
               " -- ${SCRIVLET_PACKAGE_MAINTAINER}  ${rfc_date}\n\n")
        string(APPEND appstream_text "    <release version=\"${version}\" date=\"${date}\"/>\n")
    endif()
    set(version "")
    set(entries "")
endmacro()

foreach(line IN LISTS changelog_lines)
    if(line MATCHES "^## \\[([^]]+)\\]( - ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9]))?$")
        scrivlet_close_release()
        if(CMAKE_MATCH_1 STREQUAL "Unreleased")
            continue()
        endif()
        if(NOT CMAKE_MATCH_2)
            message(FATAL_ERROR "CHANGELOG.md: the release ${CMAKE_MATCH_1} has no date")
        endif()
        set(version ${CMAKE_MATCH_1})
        set(date "${CMAKE_MATCH_3}-${CMAKE_MATCH_4}-${CMAKE_MATCH_5}")
        list(APPEND releases ${version})
        if(NOT DEFINED SCRIVLET_RELEASE_DATE)
            set(SCRIVLET_RELEASE_DATE ${date})
        endif()
        math(EXPR month_index "${CMAKE_MATCH_4} - 1")
        list(GET month_names ${month_index} month_name)
        scrivlet_weekday(${CMAKE_MATCH_3} ${CMAKE_MATCH_4} ${CMAKE_MATCH_5} weekday)
        set(rfc_date
            "${weekday}, ${CMAKE_MATCH_5} ${month_name} ${CMAKE_MATCH_3} 00:00:00 +0000")
    elseif(version AND line MATCHES "^- (.*)$")
        # Markdown's code marks mean nothing in a plain-text changelog.
        string(REPLACE "`" "" line "${line}")
        string(REGEX MATCH "^- (.*)$" line "${line}")
        string(APPEND entries "  * ${CMAKE_MATCH_1}\n")
    elseif(version AND line MATCHES "^  +(.*)$")
        string(REPLACE "`" "" line "${line}")
        string(REGEX MATCH "^  +(.*)$" line "${line}")
        string(APPEND entries "    ${CMAKE_MATCH_1}\n")
    endif()
endforeach()
scrivlet_close_release()

list(LENGTH releases release_count)
if(release_count EQUAL 0)
    message(FATAL_ERROR "CHANGELOG.md holds no release")
endif()
list(GET releases 0 newest_release)
if(NOT newest_release STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "CHANGELOG.md's newest release is ${newest_release}, the project's "
                        "version is ${PROJECT_VERSION}: add the release to the changelog")
endif()
string(REGEX REPLACE "\n$" "" SCRIVLET_APPSTREAM_RELEASES "${appstream_text}")

# Debian wants the changelog compressed without a time stamp (gzip -n), so the same changelog
# gives the same bytes.
set(debian_changelog ${CMAKE_BINARY_DIR}/release/changelog)
string(REGEX REPLACE "\n\n$" "\n" debian_text "${debian_text}")
file(WRITE ${debian_changelog} "${debian_text}")
execute_process(COMMAND gzip -9 -n -c ${debian_changelog} OUTPUT_FILE ${debian_changelog}.gz
                RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${debian_changelog}")
endif()
set(SCRIVLET_DEBIAN_CHANGELOG ${debian_changelog}.gz)

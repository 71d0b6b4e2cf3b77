# cmake -DBUILD_DIR=... -DPREFIX=... -DSOURCE_DIR=... -DVERSION=... -DLIBDIR=... -P check_install.cmake
cmake_minimum_required(VERSION 3.25)

set(app_id io.github.quintor.Quintor)
set(failures 0)

function(check condition_text)
    # check(<message> <condition...>): records a failure instead of stopping,
    # so one run lists every problem.
    if(NOT (${ARGN}))
        message(SEND_ERROR "FAIL: ${condition_text}")
        math(EXPR n "${failures} + 1")
        set(failures ${n} PARENT_SCOPE)
    endif()
endfunction()

# "KEY=value" of the [Desktop Entry] group, or "" when absent.
function(desktop_key file key out)
    file(STRINGS ${file} lines REGEX "^${key}=")
    list(LENGTH lines n)
    if(n EQUAL 1)
        string(REGEX REPLACE "^${key}=" "" value "${lines}")
        set(${out} "${value}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

# Width and height from a PNG's IHDR chunk.
function(png_size file out_w out_h)
    file(READ ${file} head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 24 8 chunk)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452")
        set(${out_w} -1 PARENT_SCOPE)
        set(${out_h} -1 PARENT_SCOPE)
        return()
    endif()
    string(SUBSTRING "${head}" 32 8 w)
    string(SUBSTRING "${head}" 40 8 h)
    math(EXPR w "0x${w}")
    math(EXPR h "0x${h}")
    set(${out_w} ${w} PARENT_SCOPE)
    set(${out_h} ${h} PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed (${rc})")
endif()

set(binary ${PREFIX}/bin/quintor)
set(coach ${PREFIX}/bin/quintor-coach)
set(desktop ${PREFIX}/share/applications/${app_id}.desktop)
set(metainfo ${PREFIX}/share/metainfo/${app_id}.metainfo.xml)
# The Review and Statistics windows, in the architecture's library folder.
set(charts ${PREFIX}/${LIBDIR}/quintor/quintor-charts.so)
# Manual pages where man finds them, compressed; the completion where
# bash-completion looks.
set(docs ${PREFIX}/share/man/man1/quintor-coach.1.gz ${PREFIX}/share/man/man6/quintor.6.gz
         ${PREFIX}/share/bash-completion/completions/quintor-coach)
foreach(file IN ITEMS ${binary} ${coach} ${desktop} ${metainfo} ${charts} ${docs})
    check("${file} is installed" EXISTS ${file})
endforeach()
if(failures)
    message(FATAL_ERROR "${failures} file(s) missing from the install")
endif()

# Icons: each size at its nominal pixel size, or menus rescale them blurry.
foreach(size 32 64 128)
    set(icon ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${app_id}.png)
    if(EXISTS ${icon})
        png_size(${icon} w h)
        check("${icon} is ${size}x${size} (got ${w}x${h})" w EQUAL ${size} AND h EQUAL ${size})
    else()
        check("${icon} is installed" FALSE)
    endif()
endforeach()

# No run path anywhere, and the module shows only its entry point.
foreach(elf IN ITEMS ${binary} ${coach} ${charts})
    execute_process(COMMAND readelf -d ${elf} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
    check("${elf} has no run path" rc EQUAL 0 AND NOT dynamic MATCHES "R(UN)?PATH")
endforeach()
execute_process(COMMAND nm -D --defined-only ${charts} OUTPUT_VARIABLE exported)
string(REGEX MATCHALL "[^\n]+\n" exported "${exported}")
list(FILTER exported EXCLUDE REGEX " (_init|_fini|_edata|_end|__bss_start)\n$")
check("the chart module exports quintor_history_windows alone: ${exported}"
      exported MATCHES "^[0-9a-f]+ T quintor_history_windows\n$")

# The coach runs from where it is installed (its help needs no table).
execute_process(COMMAND ${coach} --help RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
check("${coach} --help answers (status ${rc}): ${err}" rc EQUAL 0 AND out MATCHES "Usage: quintor-coach")

# The menu entry must start the installed program and name the installed icon.
desktop_key(${desktop} Exec exec)
desktop_key(${desktop} Icon icon)
check("Exec=${exec} is the installed program" exec STREQUAL "quintor" AND EXISTS ${PREFIX}/bin/${exec})
check("Icon=${icon} is the desktop id" icon STREQUAL app_id)

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    check("desktop-file-validate: ${out}" rc EQUAL 0 AND NOT out)
else()
    message(STATUS "desktop-file-validate not installed: desktop file syntax not checked")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
    message(FATAL_ERROR "appstreamcli not found (Debian package appstream)")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --strict ${metainfo}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
check("appstreamcli validate: ${out}" rc EQUAL 0)

# Metadata that a validator cannot cross-check against the rest of the tree.
file(READ ${metainfo} xml)
check("metainfo launches ${app_id}.desktop"
      xml MATCHES "<launchable type=\"desktop-id\">${app_id}\\.desktop</launchable>")
check("metainfo lists a release ${VERSION}" xml MATCHES "<release version=\"${VERSION}\"")

# The running window reports this name to the desktop; it must be the menu
# entry's, or the window is not matched to its icon and entry.
file(READ ${SOURCE_DIR}/src/main.cpp main_cpp)
if(main_cpp MATCHES "setDesktopFileName\\(QStringLiteral\\(\"([^\"]*)\"\\)\\)")
    check("main.cpp sets desktop file name ${app_id} (got ${CMAKE_MATCH_1})" CMAKE_MATCH_1 STREQUAL app_id)
else()
    check("main.cpp sets the desktop file name" FALSE)
endif()

if(failures)
    message(FATAL_ERROR "${failures} packaging check(s) failed")
endif()
message(STATUS "installed tree in ${PREFIX} checked")

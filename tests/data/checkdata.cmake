# Installs the tree into a fresh prefix and checks what a desktop reads from it: the launcher
# and the metainfo, named by the application id, pass the desktop's own validators without a
# remark; the icon of that name is there as an SVG and as a bitmap of each size, each really
# that size; the activation file names the program under this prefix.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPPLICATION_ID=... -DICON_SIZES=16,22,... -P checkdata.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/checkscript.cmake)
quorvex_require_variables(BUILD_DIR PREFIX APPLICATION_ID ICON_SIZES)
require_program(DESKTOP_FILE_VALIDATE desktop-file-validate desktop-file-utils)
require_program(APPSTREAMCLI appstreamcli appstream)

string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")

file(REMOVE_RECURSE ${PREFIX})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

set(share ${PREFIX}/share)
set(id ${APPLICATION_ID})
foreach(file applications/${id}.desktop metainfo/${id}.metainfo.xml icons/hicolor/scalable/apps/${id}.svg)
    if(NOT EXISTS ${share}/${file})
        message(FATAL_ERROR "Not installed: share/${file}")
    endif()
endforeach()

# A PNG's width and height are the two 32-bit numbers after its signature and chunk header.
foreach(size IN LISTS ICON_SIZES)
    set(png ${share}/icons/hicolor/${size}x${size}/apps/${id}.png)
    if(NOT EXISTS ${png})
        message(FATAL_ERROR "Not installed: the ${size}x${size} icon")
    endif()
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "The ${size}x${size} icon is not a ${size}x${size} PNG (${width}x${height})")
    endif()
endforeach()

# The launcher names the installed icon, and the metainfo its id and the installed launcher.
file(STRINGS ${share}/applications/${id}.desktop icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=${id}")
    message(FATAL_ERROR "The launcher names another icon: ${icon_line}")
endif()
file(READ ${share}/metainfo/${id}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<id>${id}</id>")
    message(FATAL_ERROR "The metainfo has another id than ${id}")
endif()
string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" launchable "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL "${id}.desktop")
    message(FATAL_ERROR "The metainfo names another launcher: '${CMAKE_MATCH_1}'")
endif()

run(${DESKTOP_FILE_VALIDATE} ${share}/applications/${id}.desktop)
if(last_output OR last_errors)
    message(FATAL_ERROR "desktop-file-validate remarks:\n${last_output}${last_errors}")
endif()
# Fails on anything above a pedantic remark; of those, only the capital letter of the id, which
# is the program's name, is accepted.
run(${APPSTREAMCLI} validate --no-net --pedantic --strict ${share}/metainfo/${id}.metainfo.xml)
string(REGEX MATCHALL "\n[EWIP]: [^\n]*" remarks "\n${last_output}")
list(FILTER remarks EXCLUDE REGEX "cid-contains-uppercase-letter")
if(remarks)
    message(FATAL_ERROR "appstreamcli remarks: ${remarks}")
endif()

# The bus reads the Exec line as a shell would split it; a prefix that cannot be quoted for it
# is refused.
file(STRINGS ${share}/dbus-1/services/Quorvex.Application.service exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=\"${PREFIX}/bin/quorvex\"")
    message(FATAL_ERROR "The activation file starts another program: ${exec}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component Quorvex --prefix "${PREFIX}/'$HOME'"
    RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
if(result EQUAL 0 OR NOT errors MATCHES "cannot be quoted")
    message(FATAL_ERROR "An unquotable prefix was taken (${result}): ${errors}")
endif()

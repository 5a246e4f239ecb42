# Installs the program's component into a fresh prefix and checks what a desktop reads from it:
# the launcher and the metainfo pass the desktop's own validators, and the icon is there as an
# SVG and as a bitmap of each size, each really that size.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DICON_SIZES=16,22,... -P checkdata.cmake
foreach(var BUILD_DIR WORK_DIR ICON_SIZES)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "Failed (${result}): ${ARGN}\n${output}")
    endif()
    message(STATUS "${ARGN}\n${output}")
endfunction()

function(require_program var name package)
    find_program(${var} ${name})
    if(NOT ${var})
        message(FATAL_ERROR "${name} is missing: install ${package} (scripts/install-dependencies.sh does)")
    endif()
endfunction()

require_program(DESKTOP_FILE_VALIDATE desktop-file-validate desktop-file-utils)
require_program(APPSTREAMCLI appstreamcli appstream)

string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --component Quorvex --prefix ${prefix})

set(share ${prefix}/share)
foreach(file applications/quorvex.desktop metainfo/quorvex.metainfo.xml icons/hicolor/scalable/apps/quorvex.svg)
    if(NOT EXISTS ${share}/${file})
        message(FATAL_ERROR "Not installed: share/${file}")
    endif()
endforeach()

# A PNG's width and height are the two 32-bit numbers after its signature and chunk header.
foreach(size IN LISTS ICON_SIZES)
    set(png ${share}/icons/hicolor/${size}x${size}/apps/quorvex.png)
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

# The launcher names the installed icon, and the metainfo the installed launcher.
file(STRINGS ${share}/applications/quorvex.desktop icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=quorvex")
    message(FATAL_ERROR "The launcher names another icon: ${icon_line}")
endif()
file(READ ${share}/metainfo/quorvex.metainfo.xml metainfo)
string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" launchable "${metainfo}")
if(NOT EXISTS ${share}/applications/${CMAKE_MATCH_1})
    message(FATAL_ERROR "The metainfo names a launcher that is not installed: '${CMAKE_MATCH_1}'")
endif()

run(${DESKTOP_FILE_VALIDATE} ${share}/applications/quorvex.desktop)
# The component id is the launcher's name, "quorvex", which is also the program's desktop file
# name; the validator's advice to use a reverse domain name is kept as a note, not a failure.
run(${APPSTREAMCLI} validate --no-net --override=cid-desktopapp-is-not-rdns=info
    ${share}/metainfo/quorvex.metainfo.xml)

# Makes the Debian packages with cpack from a tree configured as the `package` preset does,
# and checks them as Debian would take them: lintian without an error or a warning, every
# program and library built hardened, each file where Debian and Qt look for it, every
# dependency met by one of them or by a package this machine has installed (the machine that
# built them has what they need), and the unpacked quorvex-cli running.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DAPPLICATION_ID=... -P checkpackages.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../support/checkscript.cmake)
quorvex_require_variables(BUILD_DIR WORK_DIR APPLICATION_ID)
require_program(LINTIAN lintian lintian)
require_program(QTPATHS qtpaths6 qt6-base-dev-tools)
require_program(READELF readelf binutils)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
get_filename_component(cmake_bin_dir ${CMAKE_COMMAND} DIRECTORY)
find_program(CPACK cpack HINTS ${cmake_bin_dir} REQUIRED)
run(${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/out)

file(GLOB debs ${WORK_DIR}/out/*.deb)
set(names)
set(synopses)
foreach(deb IN LISTS debs)
    run(dpkg-deb -f ${deb} Package)
    string(STRIP "${last_output}" name)
    list(APPEND names ${name})
    run(dpkg-deb -f ${deb} Description)
    string(REGEX MATCH "^[^\n]*" synopsis "${last_output}")
    if(synopsis IN_LIST synopses)
        message(FATAL_ERROR "${name} has the synopsis of another package: ${synopsis}")
    endif()
    list(APPEND synopses "${synopsis}")
endforeach()
message(STATUS "Packages: ${names}")
foreach(required quorvex liblustrel1 liblustrel-dev lustrel-designer-plugin)
    if(NOT required IN_LIST names)
        message(FATAL_ERROR "No package ${required} among: ${names}")
    endif()
endforeach()

foreach(deb IN LISTS debs)
    run(dpkg-deb -f ${deb} Package)
    string(STRIP "${last_output}" name)
    run(dpkg-deb -f ${deb} Depends)
    string(STRIP "${last_output}" depends)
    message(STATUS "${name}: Depends: ${depends}")
    if(name STREQUAL "quorvex" AND NOT depends MATCHES "libqt6core6" OR name STREQUAL "quorvex" AND NOT depends MATCHES "liblustrel1 \\(= ")
        message(FATAL_ERROR "quorvex misses a dependency: ${depends}")
    endif()
    if(name STREQUAL "liblustrel1" AND NOT depends MATCHES "libqt6widgets6")
        message(FATAL_ERROR "liblustrel1 misses Qt Widgets: ${depends}")
    endif()
    if(name STREQUAL "liblustrel-dev" AND NOT depends MATCHES "liblustrel1 \\(= ")
        message(FATAL_ERROR "liblustrel-dev misses liblustrel1: ${depends}")
    endif()
    # Each dependency, or one of its alternatives, is ours or installed here.
    string(REPLACE "," ";" groups "${depends}")
    foreach(group IN LISTS groups)
        string(REPLACE "|" ";" alternatives "${group}")
        set(met FALSE)
        foreach(alternative IN LISTS alternatives)
            string(REGEX REPLACE "^ *([^ (]+).*$" "\\1" dependency "${alternative}")
            if(dependency IN_LIST names)
                set(met TRUE)
            else()
                execute_process(COMMAND dpkg-query -W -f=\${Status} ${dependency}
                    RESULT_VARIABLE missing OUTPUT_VARIABLE status ERROR_QUIET)
                if(NOT missing AND status MATCHES "install ok installed")
                    set(met TRUE)
                endif()
            endif()
        endforeach()
        if(NOT met)
            message(FATAL_ERROR "${name}: nothing provides \"${group}\"")
        endif()
    endforeach()
    run(dpkg -x ${deb} ${WORK_DIR}/root)
endforeach()

# Each file where the system looks for it: the library in the multiarch folder, the Designer
# plugin in Qt's, the activation file naming the program as installed.
set(root ${WORK_DIR}/root)
run(dpkg-architecture -qDEB_HOST_MULTIARCH)
string(STRIP "${last_output}" multiarch)
run(${QTPATHS} --query QT_INSTALL_PLUGINS)
string(REGEX REPLACE "^/|\n$" "" qt_plugins "${last_output}")
foreach(file
        usr/bin/quorvex
        usr/bin/quorvex-cli
        usr/share/man/man1/quorvex.1.gz
        usr/share/man/man1/quorvex-cli.1.gz
        usr/share/quorvex/help/main_dialog_box.htm
        usr/share/applications/${APPLICATION_ID}.desktop
        usr/share/metainfo/${APPLICATION_ID}.metainfo.xml
        usr/share/dbus-1/services/Quorvex.Application.service
        usr/lib/${multiarch}/liblustrel.so.1
        ${qt_plugins}/designer/liblustreldesignerplugin.so)
    if(NOT EXISTS ${root}/${file})
        message(FATAL_ERROR "Not installed: /${file}")
    endif()
endforeach()
file(STRINGS ${root}/usr/share/dbus-1/services/Quorvex.Application.service exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=/usr/bin/quorvex")
    message(FATAL_ERROR "The activation file starts another program: ${exec}")
endif()

# Hardened as dpkg-buildflags asks: relocations read-only and bound at start, the stack
# guarded; every file compiled optimised with libc's checked string and memory calls (the
# binaries show those only where a size is known when compiling).
file(GLOB_RECURSE files LIST_DIRECTORIES false ${root}/*)
set(elf_count 0)
foreach(file IN LISTS files)
    file(READ ${file} magic LIMIT 4 HEX)
    if(IS_SYMLINK ${file} OR NOT magic STREQUAL "7f454c46")
        continue()
    endif()
    math(EXPR elf_count "${elf_count} + 1")
    run(${READELF} --wide --program-headers --dynamic --dyn-syms ${file})
    foreach(mark GNU_RELRO BIND_NOW __stack_chk_fail)
        if(NOT last_output MATCHES "${mark}")
            message(FATAL_ERROR "${file} is not hardened: readelf finds no ${mark}")
        endif()
    endforeach()
endforeach()
if(elf_count LESS 4)
    message(FATAL_ERROR "Only ${elf_count} programs and libraries in the packages")
endif()
file(READ ${BUILD_DIR}/compile_commands.json compile_commands)
string(JSON compile_count LENGTH "${compile_commands}")
math(EXPR last "${compile_count} - 1")
foreach(index RANGE ${last})
    string(JSON command GET "${compile_commands}" ${index} command)
    string(REGEX MATCHALL " -O[^ ]*" levels "${command}")
    list(POP_BACK levels level)
    if(NOT command MATCHES " -D_FORTIFY_SOURCE=[1-3] " OR NOT level MATCHES "^ -O[1-3s]$")
        message(FATAL_ERROR "Compiled without fortified libc calls: ${command}")
    endif()
endforeach()

# A tag the packages override, with their reason, is not counted.
run(${LINTIAN} --fail-on error,warning --tag-display-limit 0 ${debs})
message(STATUS "lintian:\n${last_output}")

run(${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK_DIR}/config ${root}/usr/bin/quorvex-cli --version)
if(NOT last_output MATCHES "^quorvex-cli [0-9]+\\.[0-9]+\\.[0-9]+\n$")
    message(FATAL_ERROR "quorvex-cli --version printed: ${last_output}")
endif()
run(${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK_DIR}/config ${root}/usr/bin/quorvex-cli generate -l 16 -n 3)
# Passwords may hold ';', CMake's list separator: count the line ends instead.
string(REGEX REPLACE "[^\n]" "" line_ends "${last_output}")
string(LENGTH "${line_ends}" count)
string(LENGTH "${last_output}" size)
if(NOT count EQUAL 3 OR NOT size EQUAL 51)
    message(FATAL_ERROR "The installed quorvex-cli printed: ${last_output}")
endif()
message(STATUS "The installed quorvex-cli runs")

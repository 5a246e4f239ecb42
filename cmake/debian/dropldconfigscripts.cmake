# Run by CPack once the packages are made (CPACK_POST_BUILD_SCRIPTS). CPack gives a package
# with a shared library in the linker's folders postinst and postrm scripts that run ldconfig,
# whatever else the package does. A package that carries the ldconfig trigger needs neither,
# and Debian rejects them beside it: such a package is rebuilt without them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    set(tree ${CPACK_TOPLEVEL_DIRECTORY}/without-ldconfig-scripts)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    set(triggers)
    if(EXISTS ${tree}/DEBIAN/triggers)
        file(READ ${tree}/DEBIAN/triggers triggers)
    endif()
    if(NOT triggers MATCHES "activate-noawait ldconfig")
        continue()
    endif()
    foreach(script postinst postrm)
        if(NOT EXISTS ${tree}/DEBIAN/${script})
            continue()
        endif()
        # Only a script that does nothing but run ldconfig goes.
        file(STRINGS ${tree}/DEBIAN/${script} lines)
        list(FILTER lines EXCLUDE REGEX "^(#!/bin/sh|set -e|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|[ \t]*ldconfig|fi|)$")
        if(lines)
            message(FATAL_ERROR "${deb}: its ${script} does more than run ldconfig: ${lines}")
        endif()
        file(REMOVE ${tree}/DEBIAN/${script})
    endforeach()
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${tree})
endforeach()

# Debian packages made by `cpack -G DEB` from the install components:
#   quorvex                  component Quorvex (the program, quorvex-cli, desktop files, manual
#                            pages) and whatever is installed without a component (the help pages)
#   liblustrel1              component Lustrel, the control library
#   liblustrel-dev           component LustrelDevelopment, headers and CMake/pkg-config files
#   lustrel-designer-plugin  component LustrelDesigner, the Qt Designer plugin
# The shared-library dependencies come from dpkg-shlibdeps; those between our own packages
# from the component dependencies below. `cmake --workflow --preset deb` builds them for /usr
# and checks them with lintian.
set(QUORVEX_PACKAGE_MAINTAINER "Talvore Software <support@talvore.example.com>"
    CACHE STRING "The Maintainer field of the Debian packages")
set(debian_dir ${CMAKE_CURRENT_LIST_DIR}/debian)

# The version is the changelog's latest entry, which must be this release.
file(STRINGS ${debian_dir}/changelog latest_entry LIMIT_COUNT 1)
if(NOT latest_entry MATCHES "^quorvex \\(([^-]+)-([^)]+)\\) ")
    message(FATAL_ERROR "cmake/debian/changelog does not start with an entry: ${latest_entry}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "cmake/debian/changelog ends at ${CMAKE_MATCH_1}, not at ${PROJECT_VERSION}: "
                        "give this release an entry")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})

set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VENDOR "Talvore Software")
set(CPACK_PACKAGE_CONTACT "${QUORVEX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's description below starts with its own synopsis; a common summary would be
# put in front of every one. CPack indents the lines that follow and turns an empty one into
# the paragraph mark.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGE_FILE_NAME "quorvex-${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE quorvex)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://talvore.example.com/mintara/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own library is not installed where dpkg-shlibdeps looks; it finds it in the build tree
# and leaves the dependency on its package to the component dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPackComponent)

cpack_add_component_group(Program DISPLAY_NAME "Quorvex")
cpack_add_component(Quorvex GROUP Program DEPENDS Lustrel)
cpack_add_component(Unspecified GROUP Program)
# The windows place the Lustrel controls.
set(CPACK_COMPONENT_PROGRAM_DEPENDS Lustrel)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME quorvex)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "password generator with exact counts of each character class
Makes random passwords with an exact number of upper-case letters,
lower-case letters, digits and symbols, from one to ten thousand at a time:
in a window, or from the command line with quorvex-cli. Other programs can
drive the window over D-Bus.")

cpack_add_component(Lustrel DISPLAY_NAME "Lustrel")
set(CPACK_DEBIAN_LUSTREL_PACKAGE_NAME liblustrel1)
set(CPACK_DEBIAN_LUSTREL_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LUSTREL_DESCRIPTION "Qt widgets: gradient progress bar, step markers, glowing caption
Lustrel is a small library of Qt 6 widgets: a progress bar drawn in a
gradient, circular step markers and a caption that glows in a pulse. The
windows of Quorvex place them.

This package holds the shared library.")
# The dynamic linker's cache is refreshed by a trigger, once for all libraries installed
# together, instead of by scripts of our own.
set(CPACK_DEBIAN_LUSTREL_PACKAGE_CONTROL_EXTRA ${debian_dir}/liblustrel1/triggers)

cpack_add_component(LustrelDevelopment DISPLAY_NAME "Lustrel development files" DEPENDS Lustrel)
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_PACKAGE_NAME liblustrel-dev)
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_DESCRIPTION "development files for the Lustrel Qt widgets
Lustrel is a small library of Qt 6 widgets: a progress bar drawn in a
gradient, circular step markers and a caption that glows in a pulse.

This package holds the headers, the CMake package and the pkg-config file
for building programs against Lustrel.")

cpack_add_component(LustrelDesigner DISPLAY_NAME "Lustrel Designer plugin" DEPENDS Lustrel)
set(CPACK_DEBIAN_LUSTRELDESIGNER_PACKAGE_NAME lustrel-designer-plugin)
set(CPACK_DEBIAN_LUSTRELDESIGNER_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_LUSTRELDESIGNER_PACKAGE_ENHANCES designer-qt6)
set(CPACK_DEBIAN_LUSTRELDESIGNER_DESCRIPTION "Qt Designer plugin for the Lustrel widgets
Puts the Lustrel widgets (a gradient progress bar, circular step markers and
a glowing caption) in the widget box of Qt Designer, so forms made there can
hold them.")

# The library's own shlibs entry, so programs built against it get their dependency on it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# CPack adds ldconfig scripts to a library's package on its own; the trigger above does it.
set(CPACK_POST_BUILD_SCRIPTS ${debian_dir}/dropldconfigscripts.cmake)

# Every package carries the machine-readable copyright, the changelog and the one lintian
# override all of them need (see the file).
quorvex_gzip(debian_changelog ${debian_dir}/changelog ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian.gz)
set(component_packages Quorvex:quorvex Lustrel:liblustrel1 LustrelDevelopment:liblustrel-dev)
if(TARGET lustreldesignerplugin)
    list(APPEND component_packages LustrelDesigner:lustrel-designer-plugin)
endif()
foreach(component_package IN LISTS component_packages)
    string(REPLACE ":" ";" component_package ${component_package})
    list(GET component_package 0 component)
    list(GET component_package 1 package)
    install(FILES ${debian_dir}/copyright ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
        COMPONENT ${component})
    install(FILES ${debian_dir}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ${package}
        COMPONENT ${component})
endforeach()

include(CPack)

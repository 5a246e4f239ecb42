# Debian packages made by `cpack -G DEB` from the install components:
#   quorvex                  component Quorvex (the program, quorvex-cli, desktop files, manual
#                            page) and whatever is installed without a component (the help pages)
#   liblustrel1              component Lustrel, the control library
#   liblustrel-dev           component LustrelDevelopment, headers and CMake/pkg-config files
#   lustrel-designer-plugin  component LustrelDesigner, the Qt Designer plugin
# The shared-library dependencies come from dpkg-shlibdeps; those between our own packages
# from the component dependencies below. `cmake --workflow --preset deb` builds them for /usr.
set(QUORVEX_PACKAGE_MAINTAINER "Talvore Software <packages@talvore.invalid>"
    CACHE STRING "The Maintainer field of the Debian packages")

set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VENDOR "Talvore Software")
set(CPACK_PACKAGE_CONTACT "${QUORVEX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME "quorvex-${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own library is not installed where dpkg-shlibdeps looks; it finds it in the build tree
# and leaves the dependency on its package to the component dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

include(CPackComponent)

cpack_add_component_group(Program DISPLAY_NAME "Quorvex")
cpack_add_component(Quorvex GROUP Program DEPENDS Lustrel)
cpack_add_component(Unspecified GROUP Program)
# The windows place the Lustrel controls.
set(CPACK_COMPONENT_PROGRAM_DEPENDS Lustrel)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME quorvex)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "${PROJECT_DESCRIPTION}
 Makes random passwords with an exact number of upper-case letters, lower-case
 letters, digits and symbols; in a window, or from the command line with
 quorvex-cli.")

cpack_add_component(Lustrel DISPLAY_NAME "Lustrel")
set(CPACK_DEBIAN_LUSTREL_PACKAGE_NAME liblustrel1)
set(CPACK_DEBIAN_LUSTREL_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LUSTREL_DESCRIPTION "Lustrel controls for Qt programs
 A progress bar, circular step markers and a glowing caption, used by the
 windows of Quorvex.")

cpack_add_component(LustrelDevelopment DISPLAY_NAME "Lustrel development files" DEPENDS Lustrel)
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_PACKAGE_NAME liblustrel-dev)
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_DEBIAN_LUSTRELDEVELOPMENT_DESCRIPTION "Lustrel controls for Qt programs (development files)
 Headers, CMake package and pkg-config file for building against Lustrel.")

cpack_add_component(LustrelDesigner DISPLAY_NAME "Lustrel Designer plugin" DEPENDS Lustrel)
set(CPACK_DEBIAN_LUSTRELDESIGNER_PACKAGE_NAME lustrel-designer-plugin)
set(CPACK_DEBIAN_LUSTRELDESIGNER_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_LUSTRELDESIGNER_DESCRIPTION "Lustrel controls in the Qt Designer toolbox
 The Qt Designer plugin that places the Lustrel controls on forms.")

# The library's own shlibs entry, so programs built against it get their dependency on it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

include(CPack)

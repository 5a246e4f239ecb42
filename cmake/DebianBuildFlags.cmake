# The compiler and linker flags Debian builds its packages with, as dpkg-buildflags gives them
# (DEB_*FLAGS_APPEND and the like in the environment included), with all hardening on: stack
# protector, fortified libc calls, read-only relocations, symbols bound at start.
# Included before project(): the flags become the initial CMAKE_<LANG>_FLAGS.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags gives the packages' compiler flags: install dpkg-dev "
                        "(scripts/install-dependencies.sh does)")
endif()

function(quorvex_debian_build_flag name out)
    # From the source folder, so the flag that maps build paths maps this one.
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${DPKG_BUILDFLAGS} --get ${name}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE flags
        OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    set(${out} "${flags}" PARENT_SCOPE)
endfunction()

quorvex_debian_build_flag(CPPFLAGS debian_cppflags)
quorvex_debian_build_flag(CXXFLAGS debian_cxxflags)
quorvex_debian_build_flag(LDFLAGS debian_ldflags)
set(CMAKE_CXX_FLAGS_INIT "${debian_cppflags} ${debian_cxxflags}")
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "${debian_ldflags}")
endforeach()

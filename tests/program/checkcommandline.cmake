# Runs the window program with command-line options that answer on the terminal and compares
# the exit status and both outputs, as a user's shell sees them.
#   cmake -DPROGRAM=... -DVERSION=... -DWORK_DIR=... -P checkcommandline.cmake
cmake_minimum_required(VERSION 3.25)

file(MAKE_DIRECTORY ${WORK_DIR})

# arguments @ exit status @ standard output (regex) @ standard error (regex; the platform may
# warn before)
set(cases
    "--version@0@^quorvex ${VERSION}\n$@^$"
    "-v@0@^quorvex ${VERSION}\n$@^$"
    "--bogus@1@^$@(^|\n)quorvex: Unknown option 'bogus'.\n$"
    "--version,-x@1@^$@(^|\n)quorvex: Unknown option 'x'.\n$"
    "--help@0@^Usage: [^\n]*quorvex \\[options\\]\nTalvore Mintara 2.0: @^$")

foreach(case IN LISTS cases)
    string(REPLACE "@" ";" fields "${case}")
    list(GET fields 0 arguments)
    string(REPLACE "," ";" arguments "${arguments}")
    list(GET fields 1 expected_status)
    list(GET fields 2 expected_output)
    list(GET fields 3 expected_errors)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=${WORK_DIR}
            ${PROGRAM} ${arguments}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 30)
    if(NOT status STREQUAL expected_status OR NOT output MATCHES "${expected_output}"
            OR NOT errors MATCHES "${expected_errors}")
        message(FATAL_ERROR "quorvex ${arguments}: status ${status}, printed\n${output}and on errors\n${errors}")
    endif()
endforeach()

# What the check scripts run with `cmake -P` share: their settings, commands that must
# succeed, programs that must be there.

# quorvex_require_variables(<name>...): each must be given (-D<name>=...).
function(quorvex_require_variables)
    foreach(var IN LISTS ARGN)
        if(NOT DEFINED ${var})
            message(FATAL_ERROR "${var} is not set")
        endif()
    endforeach()
endfunction()

# run(<command> <argument>...): fails with the command's output unless it succeeds; leaves its
# standard output in last_output and its error output in last_errors.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "Failed (${result}): ${ARGN}\n${output}${errors}")
    endif()
    set(last_output "${output}" PARENT_SCOPE)
    set(last_errors "${errors}" PARENT_SCOPE)
endfunction()

# require_program(<variable> <program> <Debian package>)
function(require_program var name package)
    find_program(${var} ${name})
    if(NOT ${var})
        message(FATAL_ERROR "${name} is missing: install ${package} (scripts/install-dependencies.sh does)")
    endif()
endfunction()

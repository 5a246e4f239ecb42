# quorvex_gzip(<target> <source> <output>): compresses a file at build time as Debian keeps
# manual pages and changelogs: at most compression, without name or time stamp, so the same
# source always gives the same file.
function(quorvex_gzip target source output)
    get_filename_component(output_dir ${output} DIRECTORY)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
        COMMAND gzip -9n -c ${source} > ${output}
        DEPENDS ${source}
        COMMENT "Compressing ${source}")
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

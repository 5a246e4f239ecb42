# Installs the library's component into a fresh prefix, then builds and runs a program that finds
# it with find_package and compiles a file with the flags pkg-config gives.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DCONSUMER_DIR=... -DCXX=... -DCXX_FLAGS=... -P checkinstall.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/checkscript.cmake)
quorvex_require_variables(BUILD_DIR WORK_DIR CONSUMER_DIR CXX)

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
foreach(component Lustrel LustrelDevelopment)
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --component ${component} --prefix ${prefix})
endforeach()

file(GLOB_RECURSE utility_headers ${prefix}/*/delayservice.h ${prefix}/*/numbers.h)
if(utility_headers)
    message(FATAL_ERROR "Installed headers of the utility layer: ${utility_headers}")
endif()

# A public header may only name what the package installs.
file(GLOB installed_headers ${prefix}/include/Lustrel/*.h)
foreach(header ${installed_headers})
    file(READ ${header} text)
    if(text MATCHES "DelayService")
        message(FATAL_ERROR "${header} names DelayService, which is not installed")
    endif()
endforeach()
if(NOT installed_headers)
    message(FATAL_ERROR "No headers installed under ${prefix}/include/Lustrel")
endif()

run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -G Ninja
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${WORK_DIR}/consumer/lustrel-consumer)
message(STATUS "${last_output}")

file(GLOB pc_file ${prefix}/*/pkgconfig/lustrel.pc ${prefix}/*/*/pkgconfig/lustrel.pc)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} pkg-config --modversion lustrel)
if(NOT last_output MATCHES "^1\\.1\\.0")
    message(FATAL_ERROR "pkg-config gives version ${last_output}")
endif()
run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} pkg-config --cflags --libs lustrel)
string(STRIP "${last_output}" pc_flags)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(extra_flags UNIX_COMMAND "${CXX_FLAGS}")
file(WRITE ${WORK_DIR}/pc.cpp "#include <xgradprogress.h>\nint main() { return Lustrel::XGradProgress::staticProgId().isEmpty(); }\n")
run(${CXX} -std=c++20 -fPIC ${extra_flags} ${WORK_DIR}/pc.cpp -o ${WORK_DIR}/pc ${pc_flags})

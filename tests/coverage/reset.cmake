# Removes the counters of earlier runs, so a report shows only the tests just run.
#   cmake -DBUILD_DIR=... -P reset.cmake
file(GLOB_RECURSE counters ${BUILD_DIR}/*.gcda)
if(counters)
    file(REMOVE ${counters})
endif()

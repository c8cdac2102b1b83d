# Builds the Debian package and checks it as Debian would: lintian without an error or a
# warning, a Depends field that names every package whose files the program uses, and the
# files in their places.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DPROGRAM=... -DDEPENDS_CHECK=... -P check_package.cmake

file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND cpack --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed: ${out}")
endif()
file(GLOB package "${WORK_DIR}/*.deb")
if(NOT package)
    message(FATAL_ERROR "no .deb was made")
endif()

execute_process(COMMAND lintian --fail-on error,warning ${package}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian: ${out}")
endif()

execute_process(COMMAND sh "${DEPENDS_CHECK}" ${package} "${PROGRAM}" "${WORK_DIR}/depends"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${out}")
endif()
execute_process(COMMAND dpkg-deb --field ${package} Recommends OUTPUT_VARIABLE recommends)
if(NOT recommends MATCHES "xdg-utils")
    message(FATAL_ERROR "the package does not recommend xdg-utils: ${recommends}")
endif()

execute_process(COMMAND dpkg-deb --contents ${package} OUTPUT_VARIABLE contents)
foreach(path ./usr/bin/rainquill ./usr/bin/rainquill-cli ./usr/share/applications/io.github.rainquill.Rainquill.desktop
             ./usr/share/doc/rainquill/copyright ./usr/share/doc/rainquill/changelog.gz
             ./usr/share/man/man1/rainquill.1.gz ./usr/share/man/man1/rainquill-cli.1.gz)
    string(FIND "${contents}" "${path}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${path}")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")

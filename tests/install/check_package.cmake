# Builds the Debian package and checks that its control file names what the program needs:
# Qt's libraries (found from the binaries), the SVG plugin and a font with Chinese.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -P check_package.cmake

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

execute_process(COMMAND dpkg-deb --field ${package} Depends OUTPUT_VARIABLE depends RESULT_VARIABLE result)
foreach(needed libqt6widgets6 libqt6network6 libqt6svg6 fonts-wqy-microhei)
    if(NOT depends MATCHES "${needed}")
        message(FATAL_ERROR "the package does not depend on ${needed}: ${depends}")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb --contents ${package} OUTPUT_VARIABLE contents)
foreach(path ./usr/bin/rainquill ./usr/bin/rainquill-cli ./usr/share/applications/io.github.rainquill.Rainquill.desktop)
    string(FIND "${contents}" "${path}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${path}")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")

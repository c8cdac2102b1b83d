# Installs into a temporary prefix and checks what lands there: the programs, the menu
# entry, the AppStream file, the icon and the man page, each valid.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -P check_install.cmake

file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/usr"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()

set(expected
    usr/bin/rainquill
    usr/bin/rainquill-cli
    usr/share/applications/io.github.rainquill.Rainquill.desktop
    usr/share/metainfo/io.github.rainquill.Rainquill.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/io.github.rainquill.Rainquill.svg
    usr/share/man/man1/rainquill.1.gz
    usr/share/man/man1/rainquill-cli.1.gz
    usr/share/bash-completion/completions/rainquill
    usr/share/bash-completion/completions/rainquill-cli)
foreach(path IN LISTS expected)
    if(NOT EXISTS "${WORK_DIR}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

execute_process(COMMAND desktop-file-validate
                        "${WORK_DIR}/usr/share/applications/io.github.rainquill.Rainquill.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()

# Pedantic: no error and no warning; the notes about the maker's plain http address stay.
execute_process(COMMAND appstreamcli validate --pedantic --no-net
                        "${WORK_DIR}/usr/share/metainfo/io.github.rainquill.Rainquill.metainfo.xml"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR out MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "appstreamcli validate: ${out}")
endif()

foreach(program rainquill rainquill-cli)
    # The programs link no library of their own, so they need no search path.
    execute_process(COMMAND readelf --dynamic "${WORK_DIR}/usr/bin/${program}" OUTPUT_VARIABLE out)
    if(out MATCHES "RPATH|RUNPATH")
        message(FATAL_ERROR "the installed ${program} carries a library search path:\n${out}")
    endif()
    execute_process(COMMAND "${WORK_DIR}/usr/bin/${program}" --version
                    RESULT_VARIABLE result OUTPUT_VARIABLE out)
    if(NOT result EQUAL 0 OR NOT out MATCHES "^${program} [0-9]")
        message(FATAL_ERROR "the installed ${program} does not tell its version: ${out}")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")

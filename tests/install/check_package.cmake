# Builds the Debian package the way Debian does (dpkg-buildpackage, in a copy of the
# tree) and checks it as Debian would: lintian, pedantic, without an error or a warning;
# the hardening of both programs; the package installed, its Depends naming every package
# whose files the program uses, and both programs answering --help and --version.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DBUILD_DEB=... -DDEPENDS_CHECK=... -P check_package.cmake

function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        string(LENGTH "${out}" length)
        if(length GREATER 6000)
            math(EXPR start "${length} - 6000")
            string(SUBSTRING "${out}" ${start} -1 out)
        endif()
        message(FATAL_ERROR "${what}: ${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

run("dpkg-buildpackage" "${BUILD_DEB}" "${SOURCE_DIR}" "${WORK_DIR}")
file(GLOB package "${WORK_DIR}/rainquill_*.deb")
file(GLOB changes "${WORK_DIR}/rainquill_*.changes")
if(NOT package OR NOT changes)
    message(FATAL_ERROR "no .deb or .changes was made")
endif()

run("lintian" lintian --pedantic --fail-on error,warning ${changes})

# Position independent, stack protected, read-only relocations, immediate binding; fortify
# may find nothing to protect.
run("dpkg-deb" dpkg-deb -x ${package} "${WORK_DIR}/root")
foreach(program rainquill rainquill-cli)
    execute_process(COMMAND hardening-check "${WORK_DIR}/root/usr/bin/${program}" OUTPUT_VARIABLE out)
    foreach(line "Position Independent Executable: yes" "Stack protected: yes" "Read-only relocations: yes"
                 "Immediate binding: yes")
        string(FIND "${out}" "${line}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "hardening-check ${program}: not \"${line}\":\n${out}")
        endif()
    endforeach()
    if(NOT out MATCHES "Fortify Source functions: (yes|no, only unprotected functions found)")
        message(FATAL_ERROR "hardening-check ${program}: fortify:\n${out}")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb --field ${package} Recommends OUTPUT_VARIABLE recommends)
if(NOT recommends MATCHES "xdg-utils")
    message(FATAL_ERROR "the package does not recommend xdg-utils: ${recommends}")
endif()
execute_process(COMMAND dpkg-deb --contents ${package} OUTPUT_VARIABLE contents)
foreach(path ./usr/bin/rainquill ./usr/bin/rainquill-cli ./usr/share/applications/io.github.rainquill.Rainquill.desktop
             ./usr/share/doc/rainquill/copyright ./usr/share/doc/rainquill/changelog.gz
             ./usr/share/man/man1/rainquill.1.gz ./usr/share/man/man1/rainquill-cli.1.gz
             ./usr/share/bash-completion/completions/rainquill-cli)
    string(FIND "${contents}" "${path}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${path}")
    endif()
endforeach()

# Installed where the system allows it (as root), else run from the unpacked files.
execute_process(COMMAND id -u OUTPUT_VARIABLE user OUTPUT_STRIP_TRAILING_WHITESPACE)
set(bin "${WORK_DIR}/root/usr/bin")
if(user STREQUAL "0")
    run("dpkg -i" env DEBIAN_FRONTEND=noninteractive dpkg -i ${package})
    set(bin /usr/bin)
endif()
run("depends" sh "${DEPENDS_CHECK}" ${package} "${bin}/rainquill" "${WORK_DIR}/depends")
foreach(program rainquill rainquill-cli)
    foreach(option --help --version)
        run("${program} ${option}" env -u DISPLAY -u WAYLAND_DISPLAY "${bin}/${program}" ${option})
    endforeach()
endforeach()
if(user STREQUAL "0")
    run("dpkg -r" dpkg -r rainquill)
endif()
file(REMOVE_RECURSE "${WORK_DIR}")

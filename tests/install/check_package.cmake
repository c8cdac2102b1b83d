# Builds the source package and the binary packages the way Debian does (dpkg-buildpackage
# -us -uc, in a copy of the tree) and checks them as Debian would: lintian, pedantic,
# without an error or a warning, on the .changes that holds the .dsc; the hardening of
# both programs; each package's files, fields and Depends; both programs run from the
# unpacked packages. Nothing is installed on this machine and the dpkg database is only
# read, so the check passes while another dpkg runs.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DBUILD_DEB=... -DDEPENDS_CHECK=... -P check_package.cmake

cmake_minimum_required(VERSION 3.25)

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

function(field deb name variable)
    execute_process(COMMAND dpkg-deb --field ${deb} ${name} OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(${variable} "${value}" PARENT_SCOPE)
endfunction()

run("dpkg-buildpackage" "${BUILD_DEB}" "${SOURCE_DIR}" "${WORK_DIR}")

# The upload: one .changes naming the .dsc, and the two packages (the debug symbols aside).
file(GLOB changes "${WORK_DIR}/*.changes")
list(LENGTH changes count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "not one .changes: ${changes}")
endif()
file(READ ${changes} listed)
if(NOT listed MATCHES "\n [0-9a-f]+ [0-9]+ [a-z]+ [a-z]+ rainquill_[^ \n]+\\.dsc\n")
    message(FATAL_ERROR "the .changes holds no .dsc:\n${listed}")
endif()
file(GLOB debs "${WORK_DIR}/*.deb")
list(FILTER debs EXCLUDE REGEX "-dbgsym_")
set(packages)
foreach(deb IN LISTS debs)
    field(${deb} Package name)
    list(APPEND packages ${name})
    set(deb_${name} ${deb})
endforeach()
list(SORT packages)
if(NOT packages STREQUAL "rainquill;rainquill-cli")
    message(FATAL_ERROR "the packages made are not rainquill and rainquill-cli: ${packages}")
endif()

run("lintian" lintian --pedantic --fail-on error,warning ${changes})

# What each package holds; no file in both, or dpkg would refuse to install the two.
set(files_rainquill
    usr/bin/rainquill
    usr/share/applications/io.github.rainquill.Rainquill.desktop
    usr/share/metainfo/io.github.rainquill.Rainquill.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/io.github.rainquill.Rainquill.svg
    usr/share/man/man1/rainquill.1.gz
    usr/share/bash-completion/completions/rainquill
    usr/share/doc/rainquill/copyright
    usr/share/doc/rainquill/changelog.gz)
set(files_rainquill-cli
    usr/bin/rainquill-cli
    usr/share/man/man1/rainquill-cli.1.gz
    usr/share/bash-completion/completions/rainquill-cli
    usr/share/doc/rainquill-cli/copyright
    usr/share/doc/rainquill-cli/changelog.gz)
set(held)
foreach(name IN LISTS packages)
    set(root "${WORK_DIR}/root/${name}")
    file(MAKE_DIRECTORY "${root}")
    run("dpkg-deb -x ${name}" dpkg-deb -x ${deb_${name}} "${root}")
    file(GLOB_RECURSE contents LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
    foreach(path IN LISTS files_${name})
        if(NOT path IN_LIST contents)
            message(FATAL_ERROR "${name} lacks ${path}")
        endif()
    endforeach()
    foreach(path IN LISTS contents)
        if(path IN_LIST held)
            message(FATAL_ERROR "${path} is in both packages")
        endif()
    endforeach()
    list(APPEND held ${contents})
endforeach()

# Position independent, stack protected, read-only relocations, immediate binding; fortify
# may find nothing to protect. No search path of its own: the programs are in /usr/bin.
foreach(program rainquill rainquill-cli)
    set(binary "${WORK_DIR}/root/${program}/usr/bin/${program}")
    execute_process(COMMAND hardening-check "${binary}" OUTPUT_VARIABLE out)
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
    run("readelf ${program}" readelf --dynamic "${binary}")
    if(out MATCHES "RPATH|RUNPATH")
        message(FATAL_ERROR "${program} carries a library search path:\n${out}")
    endif()
endforeach()

# The desktop program recommends the converter, an emoji font and the opener of addresses.
field(${deb_rainquill} Recommends recommends)
foreach(name rainquill-cli fonts-noto-color-emoji xdg-utils)
    if(NOT recommends MATCHES "(^|, )${name}(,|$| )")
        message(FATAL_ERROR "rainquill does not recommend ${name}: ${recommends}")
    endif()
endforeach()
# The converter takes over its files from the one package that held both programs,
# Rainquill 2.2.0, and breaks any rainquill before its own version.
field(${deb_rainquill-cli} Version version)
execute_process(COMMAND dpkg --compare-versions 2.2.0 lt ${version} RESULT_VARIABLE later)
if(NOT later EQUAL 0)
    message(FATAL_ERROR "the packages' version ${version} does not follow 2.2.0")
endif()
field(${deb_rainquill-cli} Breaks breaks)
if(NOT breaks STREQUAL "rainquill (<< ${version})")
    message(FATAL_ERROR "rainquill-cli Breaks: ${breaks}")
endif()
# The upgrade as apt runs it, the converter unpacked first, in a root and a dpkg database
# of this test's own: a rainquill 2.2.0 holding both programs' files, then the two
# packages over it.
set(old "${WORK_DIR}/old")
file(COPY "${WORK_DIR}/root/rainquill/usr" "${WORK_DIR}/root/rainquill-cli/usr" DESTINATION "${old}")
field(${deb_rainquill} Architecture architecture)
file(WRITE "${old}/DEBIAN/control" "Package: rainquill\nVersion: 2.2.0\nArchitecture: ${architecture}\n"
                                   "Maintainer: Rainquill <author@qingfeng.example>\nDescription: both programs\n")
run("dpkg-deb -b" dpkg-deb --root-owner-group -b "${old}" "${WORK_DIR}/old.deb")
set(upgraded "${WORK_DIR}/upgraded")
file(MAKE_DIRECTORY "${upgraded}/var/lib/dpkg/info" "${upgraded}/var/lib/dpkg/updates")
file(TOUCH "${upgraded}/var/lib/dpkg/status")
set(dpkg env PATH=/usr/sbin:/usr/bin:/sbin:/bin dpkg --root=${upgraded} --log=/dev/null --force-not-root
    --force-depends)
run("dpkg -i rainquill 2.2.0" ${dpkg} -i "${WORK_DIR}/old.deb")
run("the upgrade from rainquill 2.2.0" ${dpkg} --auto-deconfigure -i ${deb_rainquill-cli} ${deb_rainquill})
run("dpkg -S" ${dpkg} -S /usr/bin/rainquill-cli)
if(NOT out MATCHES "^rainquill-cli: ")
    message(FATAL_ERROR "after the upgrade: ${out}")
endif()
# The converter needs no window, no font and no translation of Qt's.
field(${deb_rainquill-cli} Depends depends)
if(depends MATCHES "libqt6gui|libqt6widgets|libqt6network|fonts-|qt6-translations|qt6-qpa-plugins")
    message(FATAL_ERROR "rainquill-cli depends on what it does not use: ${depends}")
endif()

# Both programs run from the unpacked packages, without a display for the command line.
set(rainquill "${WORK_DIR}/root/rainquill/usr/bin/rainquill")
set(rainquill-cli "${WORK_DIR}/root/rainquill-cli/usr/bin/rainquill-cli")
foreach(program rainquill rainquill-cli)
    foreach(option --help --version)
        run("${program} ${option}" env -u DISPLAY -u WAYLAND_DISPLAY "${${program}}" ${option})
        if(out STREQUAL "")
            message(FATAL_ERROR "${program} ${option} printed nothing")
        endif()
    endforeach()
endforeach()
file(WRITE "${WORK_DIR}/text" "彩虹 ok")
execute_process(COMMAND env LC_ALL=C "${rainquill-cli}" --from ff0000 --to 0000ff --format html
                INPUT_FILE "${WORK_DIR}/text" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(expected "<font color=#CC0033>彩</font><font color=#990066>虹</font>&nbsp;<font color=#3300CC>o</font><font color=#0000FF>k</font>")
if(NOT result EQUAL 0 OR NOT out STREQUAL expected)
    message(FATAL_ERROR "rainquill-cli from its package: ${result}: ${out}${err}")
endif()

# Every package whose files a program uses is one its package depends on; the converter's
# package depends on nothing else.
run("rainquill's Depends" sh "${DEPENDS_CHECK}" --window ${deb_rainquill} "${WORK_DIR}/depends/rainquill"
    "qt_zh_CN.qm libqsvg.so libqoffscreen.so wqy-microhei" "${rainquill}")
execute_process(COMMAND sh "${DEPENDS_CHECK}" --exact ${deb_rainquill-cli} "${WORK_DIR}/depends/rainquill-cli"
                        "libQt6Core.so libicuuc.so" "${rainquill-cli}" --format html
                INPUT_FILE "${WORK_DIR}/text" RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "rainquill-cli's Depends: ${err}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")

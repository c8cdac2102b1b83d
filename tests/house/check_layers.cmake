# Fails on an #include that goes up the layers of src/: each folder may include its own
# headers and those of the folders below it, never one above or beside it.
#   cmake -DSOURCE_DIR=src -P check_layers.cmake
#
#   app, cli       the two programs
#   ui             the windows
#   ui/widgets     panes, frames, swatches, the strip, the arrows
#   ui/base        twips, the window's colours, the control factories
#   ui/platform    the seams to the desktop
#   schemes        the key colours, the schemes, color.dat
#   update         the version page
#   engine         the conversion
cmake_policy(SET CMP0007 NEW)
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(layers
    "app:ui ui/widgets ui/base ui/platform schemes update engine"
    "cli:schemes engine"
    "ui:ui/widgets ui/base ui/platform schemes update engine"
    "ui/widgets:ui/base ui/platform schemes engine"
    "ui/platform:ui/base schemes engine"
    "ui/base:schemes engine"
    "schemes:engine"
    "update:engine"
    "engine:")

function(folder_of path out)
    get_filename_component(dir "${path}" DIRECTORY)
    set(${out} "${dir}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
    folder_of("${source}" from)
    set(allowed "")
    set(known FALSE)
    foreach(layer IN LISTS layers)
        string(REPLACE ":" ";" parts "${layer}")
        list(GET parts 0 name)
        if(name STREQUAL from)
            set(known TRUE)
            list(LENGTH parts count)
            if(count GREATER 1)
                list(GET parts 1 below)
                string(REPLACE " " ";" allowed "${below}")
            endif()
        endif()
    endforeach()
    if(NOT known)
        string(APPEND faults "${source}: its folder ${from} has no place in the layers\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
        if(NOT EXISTS "${SOURCE_DIR}/${header}")
            continue() # a generated header or one beside the source
        endif()
        folder_of("${header}" to)
        if(to STREQUAL from)
            continue()
        endif()
        list(FIND allowed "${to}" at)
        if(at EQUAL -1)
            string(APPEND faults "${source}: includes ${header}, from ${to}, which is not below ${from}\n")
        endif()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes that go up or across the layers:\n${faults}")
endif()

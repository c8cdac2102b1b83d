# Starts the desktop program under the offscreen platform and checks that it is still
# running a few seconds later, having said nothing about missing files or plugins.
#   cmake -DPROGRAM=... -P check_starts.cmake

set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND timeout 3 "${PROGRAM}" RESULT_VARIABLE result ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT result EQUAL 124)
    message(FATAL_ERROR "the program ended by itself (${result}): ${err}")
endif()
if(err MATCHES "Cannot open|Could not|not found|No such")
    message(FATAL_ERROR "the program complained at start: ${err}")
endif()

# Its command line, read before any display is needed: --help and --version end it at
# once, an unknown option is refused, and Qt's own options, with their values, pass.
unset(ENV{DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
foreach(case "--help|0|Usage: rainquill" "--version|0|rainquill [0-9]" "--platform|offscreen|--version|0|rainquill [0-9]"
             "--bogus|2|unknown option")
    string(REPLACE "|" ";" words "${case}")
    list(POP_BACK words expected)
    list(POP_BACK words status)
    execute_process(COMMAND timeout 5 "${PROGRAM}" ${words} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL status OR NOT "${out}${err}" MATCHES "${expected}")
        message(FATAL_ERROR "rainquill ${words}: ${result}: ${out}${err}")
    endif()
endforeach()

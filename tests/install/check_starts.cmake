# Starts the desktop program under the offscreen platform and checks that it is still
# running a few seconds later, having said nothing about missing files or plugins. Its
# command line has a test program of its own (tests/app).
#   cmake -DPROGRAM=... -P check_starts.cmake

set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND timeout 3 "${PROGRAM}" RESULT_VARIABLE result ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT result EQUAL 124)
    message(FATAL_ERROR "the program ended by itself (${result}): ${err}")
endif()
if(err MATCHES "Cannot open|Could not|not found|No such")
    message(FATAL_ERROR "the program complained at start: ${err}")
endif()


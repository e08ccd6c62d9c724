# Runs the fast and the plain frame printers and fails unless both print exactly the recorded
# fingerprints (tools/record-identity.sh records them when the picture is changed on purpose).
file(READ ${RECORDED} RECORDED_OUT)
foreach(program FAST PLAIN)
    execute_process(COMMAND ${${program}} OUTPUT_VARIABLE ${program}_OUT RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${${program}} failed: ${status}")
    endif()
endforeach()
message("fast:\n${FAST_OUT}plain:\n${PLAIN_OUT}")
if(NOT FAST_OUT STREQUAL PLAIN_OUT)
    message(FATAL_ERROR "the two builds drew different pixels")
endif()
if(NOT PLAIN_OUT STREQUAL RECORDED_OUT)
    message(FATAL_ERROR "the pixels differ from the recorded ones in ${RECORDED}:\n${RECORDED_OUT}"
                        "a change meant to alter the picture records them again with "
                        "tools/record-identity.sh (docs/development.md); a speed-up never does")
endif()

# Runs the number-text sweep (under EMULATOR when given, e.g. node for the
# browser build) and compares the digest of its output with the one both
# builds must give. On a difference the output is left in OUTPUT for diff.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed: ${result}")
endif()
file(SHA256 ${OUTPUT} actual)
file(STRINGS ${EXPECTED} expected LIMIT_COUNT 1)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "number texts differ from the recorded ones (digest ${actual}); see ${OUTPUT}")
endif()

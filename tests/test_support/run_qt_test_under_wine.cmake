# Runs a Qt Test program under Wine and shows what it reports: under Wine a
# Qt Test program writes nothing to the console, so its report goes to a file
# that is printed here. The program's exit status is the test's.
#   cmake -DEMULATOR=... -DPROGRAM=... -DREPORT=... [-DPLATFORM=offscreen:...] [-DFUNCTIONS=a;b]
#         -P run_qt_test_under_wine.cmake
if(NOT PLATFORM)
  set(PLATFORM offscreen)
endif()
file(REMOVE ${REPORT})
execute_process(COMMAND ${EMULATOR} ${PROGRAM} -platform ${PLATFORM} -o ${REPORT},txt ${FUNCTIONS}
                RESULT_VARIABLE status)
if(EXISTS ${REPORT})
  file(READ ${REPORT} report)
  message("${report}")
endif()
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "${PROGRAM} ended with status ${status}")
endif()

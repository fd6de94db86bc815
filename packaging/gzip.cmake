# Compresses INPUT into OUTPUT as Debian wants it: best compression, no name or
# time stamp inside (gzip -9n), so the same input gives the same bytes.
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND gzip -9n -c ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "gzip ${INPUT}: ${status}")
endif()

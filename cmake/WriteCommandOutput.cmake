# Runs COMMAND (a list) and writes what it prints to OUTPUT; fails with it.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${COMMAND} OUTPUT_FILE "${OUTPUT}.tmp" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE "${OUTPUT}.tmp")
  message(FATAL_ERROR "${COMMAND} failed (${rc})")
endif()
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")

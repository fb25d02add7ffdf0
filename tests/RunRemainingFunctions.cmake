# Runs a Qt Test program's test functions except the ones named in SEPARATE,
# which have their own CTest entries (so their skips show as skipped).
#
#   cmake -DPROGRAM=path/to/tst_x -DSEPARATE=f1,f2 -P RunRemainingFunctions.cmake
#
# Fails when the program fails, or when SEPARATE names a function the
# program does not have (a renamed function must not drop out silently).
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" SEPARATE "${SEPARATE}")

execute_process(COMMAND ${PROGRAM} -functions
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} -functions failed: ${status}")
endif()
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*\\(\\)" declared "${listing}")
list(TRANSFORM declared REPLACE "\\(\\)$" "")

foreach(function IN LISTS SEPARATE)
  if(NOT function IN_LIST declared)
    message(FATAL_ERROR "${PROGRAM} has no test function ${function}; "
      "update the may-skip list in tests/CMakeLists.txt")
  endif()
endforeach()
set(remaining ${declared})
list(REMOVE_ITEM remaining ${SEPARATE})
if(NOT remaining)
  message(STATUS "every test function of ${PROGRAM} runs on its own")
  return()
endif()

# No OUTPUT_VARIABLE: the program's report goes straight to CTest's log.
execute_process(COMMAND ${PROGRAM} ${remaining} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed: ${status}")
endif()

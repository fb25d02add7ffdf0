# Every text of the program has its English translation: lupdate gathers the
# texts of the sources into a copy of the .ts, and no message of the copy may
# be unfinished or empty. A text added without one would show in Chinese in
# the English interface, and a window test only sees the windows it opens.
file(COPY_FILE ${TS} ${WORK}/check.ts)
execute_process(COMMAND ${LUPDATE} ${SOURCES} -I ${SOURCES} -ts ${WORK}/check.ts -locations none -silent
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed on ${SOURCES}")
endif()
file(READ ${WORK}/check.ts text)
string(REGEX MATCHALL "<source>[^<]*</source>[ \r\n]*<translation( type=\"unfinished\")?>(</translation>)?"
  messages "${text}")
set(holes "")
foreach(message ${messages})
  if(message MATCHES "unfinished|</translation>$")
    string(REGEX REPLACE "</?source>|<translation.*" "" source "${message}")
    string(STRIP "${source}" source)
    list(APPEND holes "${source}")
  endif()
endforeach()
list(LENGTH holes count)
if(count GREATER 0)
  string(REPLACE ";" "\n  " shown "${holes}")
  message(FATAL_ERROR "${count} texts have no English translation (run the update_translations target and translate them):\n  ${shown}")
endif()
list(LENGTH messages total)
message(STATUS "${total} texts, all translated")

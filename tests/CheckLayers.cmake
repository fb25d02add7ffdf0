# The window and the command line ask the plan's units; the store, the
# link, the link controller and the undo stack below them are not theirs to
# reach, or a rule gets decided twice.
file(GLOB_RECURSE faces ${SOURCES}/app/*.cpp ${SOURCES}/app/*.h ${SOURCES}/cli/*.cpp ${SOURCES}/cli/*.h)
foreach(face ${faces})
  file(STRINGS ${face} reaching REGEX "[.>](store|link|controller|undoStack)\\(\\)")
  if(reaching)
    message(SEND_ERROR "${face} reaches below the plan's units: ${reaching}")
  endif()
endforeach()

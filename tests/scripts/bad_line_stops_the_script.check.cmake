string(FIND "${STDERR}" "script line 3: no shown control 9999" at)
if(at EQUAL -1)
  message(FATAL_ERROR "unexpected error output: ${STDERR}")
endif()

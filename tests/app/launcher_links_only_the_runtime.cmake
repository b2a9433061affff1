# The `zavrin` launcher exists so that a second start loads no desktop library:
# every shared library it names must be part of the C or C++ runtime. A new
# dependency dragged in through a library it links fails here, by name.
execute_process(COMMAND ${READELF} -d ${LAUNCHER} RESULT_VARIABLE rc OUTPUT_VARIABLE dynamic ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${LAUNCHER}: ${err}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]\n]+\\]" lines "${dynamic}")
set(needed)
foreach(line ${lines})
  string(REGEX REPLACE ".*\\[([^]]+)\\]$" "\\1" library "${line}")
  list(APPEND needed ${library})
endforeach()
if(NOT needed MATCHES "libc\\.so")
  message(FATAL_ERROR "no libc among the launcher's libraries; is ${LAUNCHER} dynamically linked?\n${dynamic}")
endif()
# A sanitizer build adds its runtime to every program it links.
foreach(library ${needed})
  if(NOT library MATCHES "^(libc|libm|libgcc_s|libstdc\\+\\+|ld-linux[-_a-z0-9.]*|lib[almt]san|libubsan)\\.so")
    message(FATAL_ERROR "the launcher loads ${library}; it must need nothing beyond the C and C++ runtime "
                        "(all it needs: ${needed})")
  endif()
endforeach()
message(STATUS "launcher needs: ${needed}")

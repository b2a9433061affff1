# Helpers for the NAME.check.cmake files: reports in the HID trace and texts
# in the UTF-16 data files.

# The SET_FEATURE lines of settings command COMMAND (two hex digits) in TRACE.
function(settings_reports command out)
  file(STRINGS ${TRACE} lines REGEX "SET_FEATURE [a-z]+ 06 ${command} ")
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

function(expect_report_count command expected)
  settings_reports(${command} lines)
  list(LENGTH lines n)
  if(NOT n EQUAL ${expected})
    message(FATAL_ERROR "expected ${expected} report(s) of command ${command}, got ${n}:\n${lines}")
  endif()
endfunction()

function(expect_no_settings_reports)
  file(STRINGS ${TRACE} lines REGEX "SET_FEATURE [a-z]+ 06 0[1-9] ")
  if(lines)
    message(FATAL_ERROR "expected no settings reports, got:\n${lines}")
  endif()
endfunction()

# TEXT as the data files hold it (UTF-16LE), in the lower-case hex of file(READ HEX).
function(utf16_hex text out)
  string(HEX "${text}" ascii)
  string(REGEX REPLACE "(..)" "\\100" wide "${ascii}")
  set(${out} "${wide}" PARENT_SCOPE)
endfunction()

function(expect_file_holds file text)
  file(READ ${file} bytes HEX)
  utf16_hex("${text}" wanted)
  string(FIND "${bytes}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${file} does not hold '${text}'")
  endif()
endfunction()

function(expect_file_lacks file text)
  file(READ ${file} bytes HEX)
  utf16_hex("${text}" wanted)
  string(FIND "${bytes}" "${wanted}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${file} still holds '${text}'")
  endif()
endfunction()

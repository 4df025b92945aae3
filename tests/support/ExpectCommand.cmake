# A program's command line checked from a CMake script (cmake -P): include this after setting
# EXPECT_COMMAND to the command that starts the program.

# Runs the program with the arguments after the two patterns and checks its exit status, and
# that stdout and stderr match (or are empty for "").
function(expect label expected_status stdout_regex stderr_regex)
  execute_process(COMMAND ${EXPECT_COMMAND} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                  TIMEOUT 20)
  set(wrong "")
  if(NOT status STREQUAL expected_status)
    string(APPEND wrong " exit status ${status}, not ${expected_status};")
  endif()
  foreach(stream stdout stderr)
    if(stream STREQUAL stdout)
      set(text "${out}")
      set(regex "${stdout_regex}")
    else()
      set(text "${err}")
      set(regex "${stderr_regex}")
    endif()
    if(regex STREQUAL "" AND NOT text STREQUAL "")
      string(APPEND wrong " ${stream} should be empty;")
    elseif(NOT regex STREQUAL "" AND NOT text MATCHES "${regex}")
      string(APPEND wrong " ${stream} does not match '${regex}';")
    endif()
  endforeach()
  if(wrong)
    message(SEND_ERROR "${label}:${wrong}\n--- stdout:\n${out}--- stderr:\n${err}")
  endif()
endfunction()

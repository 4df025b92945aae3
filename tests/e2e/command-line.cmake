# orvx-frame's command line, run as a user would, without a display: cmake -DFRAME=... -DVERSION=... -P

# Runs the program with the arguments after the two patterns and checks its exit status, and
# that stdout and stderr match (or are empty for "").
function(expect label expected_status stdout_regex stderr_regex)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${FRAME} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
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

string(REPLACE "." "\\." version "${VERSION}")
expect("--version" 0 "^orvx-frame ${version}\n$" "" --version)
expect("--help" 0 "^Usage: orvx-frame .*--screenshots DIR.*--help.*--version.*ORVX_REGISTRY_FILE" "" --help)
expect("--help wins over what follows" 0 "^Usage: orvx-frame" "" --help --no-such-option)

set(try "\nTry 'orvx-frame --help'\\.\n$")
expect("an unknown option" 2 "" "^orvx-frame: unknown option '--no-such-option'${try}" --no-such-option)
expect("--screenshots without a folder" 2 "" "^orvx-frame: option '--screenshots' needs a folder${try}" --screenshots)
expect("--screenshots= without a folder" 2 "" "needs a folder${try}" --screenshots=)
expect("an argument the program takes none of" 2 "" "^orvx-frame: unexpected argument 'stray'${try}" stray)

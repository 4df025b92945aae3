# orvx-dgn's command line, run as a script would: cmake -DDGN=... -DVERSION=... -DREADME=... -DWORK=dir -P

set(EXPECT_COMMAND ${DGN})
include(${CMAKE_CURRENT_LIST_DIR}/../support/ExpectCommand.cmake)

string(REPLACE "." "\\." version "${VERSION}")
expect("--version" 0 "^orvx-dgn ${version}\n$" "" --version)
expect("--help" 0 "^Usage: orvx-dgn list FILE\n.*export FILE N --csv.*Exit status:.*  2  bad usage" "" --help)
expect("--help wins over what goes before" 0 "^Usage: orvx-dgn" "" list --no-such-option --help)

set(try "\nTry 'orvx-dgn --help'\\.\n$")
expect("an unknown option" 2 "" "^orvx-dgn: unknown option '--no-such-option'${try}" list --no-such-option)
expect("no command" 2 "" "^orvx-dgn: no command given${try}")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
expect("a missing file" 2 "" "^orvx-dgn: ${WORK}/missing\\.dgn: No such file or directory\n$" list "${WORK}/missing.dgn")

# A file of one record, as the program writes it, and the same with its values line cut short.
set(names "PstData, PstPassed, Friction, PstTravel, USpringRange, LSpringRange, BreakAwayPres, Droop, RspTimeFill, RspTimeExhaust, PstStart;, PstSpeed, Interval, PresUnits, NumSamplesUp,  NumSamplesDown")
set(header "OrvxESD.1, 03/07/24 09:05\r\nPST, PV-01   , 0000042, 03/07/2024 09:05:04\r\n${names}\r\n")
set(rest "fX1, fY1, fX2, fY2\r\n0.0000, 1.2500, 0.0000, 3.0000\r\n9999.999\r\n")
file(WRITE "${WORK}/sound.dgn" "${header}1, 0, -3, 80, 45, 30, 28, 1, 250, 310, 20, 5, 100, 6, 1, 1\r\n${rest}")
file(WRITE "${WORK}/broken.dgn" "${header}1, 0, -3, 80\r\n${rest}")
expect("list" 0 "^number\tkind\ttag\tdevice_id\tdate_time\tresult\n1\tPST\tPV-01\t42\t03/07/2024 09:05:04\tpassed\n$" ""
       list "${WORK}/sound.dgn")
expect("check of a sound file" 0 "sound\\.dgn: 1 record, no problems\n$" "" check "${WORK}/sound.dgn")
expect("check of a broken file" 1 "broken\\.dgn: line 4: values line has 4 fields, 16 expected\n.*0 records, 1 problem\n$" ""
       check "${WORK}/broken.dgn")
expect("show out of range" 2 "" "no record 2: the file holds 1 complete record\n$" show "${WORK}/sound.dgn" 2)
file(WRITE "${WORK}/stray.dgn" "${header}1, 0, -3, 80, 45, 30, 28, 1, 250, 310, 20, 5, 100, 6, 1, 1\r\n${rest}stray\r\n")
expect("list of a file with text outside any record" 1 "^number\t.*\n1\tPST\t.*\tpassed\n$"
       "stray\\.dgn: line 8: text that belongs to no record\n$" list "${WORK}/stray.dgn")

# The exit statuses the README gives are the ones --help gives, word for word.
execute_process(COMMAND ${DGN} --help OUTPUT_VARIABLE help)
file(READ "${README}" readme)
string(FIND "${readme}" "\n## orvx-dgn\n" start)
string(SUBSTRING "${readme}" ${start} -1 readme)
string(SUBSTRING "${readme}" 1 -1 readme)
string(FIND "${readme}" "\n## " end)
string(SUBSTRING "${readme}" 0 ${end} readme)
string(REGEX MATCHALL "\n  [0-9]  [^\n]*" help_statuses "${help}")
string(REGEX MATCHALL "\n    [0-9]  [^\n]*" readme_statuses "${readme}")
list(TRANSFORM help_statuses REPLACE "^\n  " "")
list(TRANSFORM readme_statuses REPLACE "^\n    " "")
list(JOIN help_statuses "\n" help_statuses)
list(JOIN readme_statuses "\n" readme_statuses)
if(NOT help_statuses OR NOT help_statuses STREQUAL readme_statuses)
  message(SEND_ERROR "The README's orvx-dgn exit statuses differ from --help's.\n"
                     "README:\n${readme_statuses}\n--help:\n${help_statuses}")
endif()

# For scripts on machines without a desktop: the core only, never Qt Gui or Widgets.
execute_process(COMMAND ldd ${DGN} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT libraries MATCHES "libQt6Core" OR libraries MATCHES "libQt6(Gui|Widgets)")
  message(SEND_ERROR "orvx-dgn links more than Qt Core, or ldd failed (${status}):\n${libraries}")
endif()

# orvx-frame's command line, run as a user would, without a display: cmake -DFRAME=... -DVERSION=... -P

# Without a display, as on a server.
set(EXPECT_COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM ${FRAME})
include(${CMAKE_CURRENT_LIST_DIR}/../support/ExpectCommand.cmake)

string(REPLACE "." "\\." version "${VERSION}")
expect("--version" 0 "^orvx-frame ${version}\n$" "" --version)
expect("--help" 0 "^Usage: orvx-frame .*--screenshots DIR.*--help.*--version.*ORVX_REGISTRY_FILE" "" --help)
expect("--help wins over what follows" 0 "^Usage: orvx-frame" "" --help --no-such-option)

set(try "\nTry 'orvx-frame --help'\\.\n$")
expect("an unknown option" 2 "" "^orvx-frame: unknown option '--no-such-option'${try}" --no-such-option)
expect("--screenshots without a folder" 2 "" "^orvx-frame: option '--screenshots' needs a folder${try}" --screenshots)
expect("--screenshots= without a folder" 2 "" "needs a folder${try}" --screenshots=)
expect("an argument the program takes none of" 2 "" "^orvx-frame: unexpected argument 'stray'${try}" stray)
expect("--device without an address" 2 "" "^orvx-frame: option '--device' needs an address${try}" --device)
expect("--device with no device address" 2 "" "^orvx-frame: 'http://host': a device is hart-ip://HOST\\[:PORT\\]\\[/POLL\\], hart-ip\\+udp://HOST\\[:PORT\\]\\[/POLL\\], hart-ip\\+tls://HOST\\[:PORT\\]\\[/POLL\\] or serial:///DEVICE\\[/POLL\\]${try}" --device http://host)
expect("--device over TLS without a key" 2 "" "^orvx-frame: 'hart-ip\\+tls://host' is reached over TLS: give its pre-shared key with --psk FILE${try}" --device hart-ip+tls://host)
expect("--psk for a device without TLS" 2 "" "^orvx-frame: --psk is for a device at hart-ip\\+tls://HOST\\[:PORT\\]\\[/POLL\\], not 'hart-ip://host'${try}" --device hart-ip://host --psk key)
expect("--device with a poll address past 63" 2 "" "^orvx-frame: 'hart-ip://host/64': the poll address is a number from 0 to 63${try}" --device=hart-ip://host/64)
expect("--plant without a list" 2 "" "^orvx-frame: option '--plant' needs a plant list${try}" --plant)
expect("--plant with a list that is not there" 2 "" "^orvx-frame: no-such\\.plant: No such file or directory\n$" --plant no-such.plant)
expect("--store without an address" 2 "" "^orvx-frame: option '--store' needs a store address${try}" --store)
expect("--store with a password in it" 2 "" "password" --store postgresql://u:secret@db/esd)
expect("--device with --screenshots" 2 "" "screenshots are taken of the simulated positioner, not of a device${try}" --device hart-ip://host --screenshots pictures)

# The end-to-end tests, one line each: add_script_test(NAME DRAWING SCRIPT [options]).
# Several chain: the drawing one test saves (its expected file) is the next one's input.

# Linking: with the attribute picker, and in quiet mode.
add_script_test(link-picker examples/floorplan.dxf examples/link-rooms.scr)
add_script_test(link-quiet examples/floorplan.dxf tests/e2e/scripts/link-quiet.scr REGISTRY tests/e2e/data/quiet.reg)

# The links come back from the file: a scaled room's tag follows.
add_script_test(reopen-scale tests/e2e/expected/link-picker.dxf tests/e2e/scripts/scale-room.scr)

# Copies: a room copied alone drives no tag; a room copied with its tag drives the copied tag.
add_script_test(copy-alone tests/e2e/expected/link-picker.dxf tests/e2e/scripts/copy-alone.scr)
add_script_test(copy-with-tag tests/e2e/expected/link-picker.dxf tests/e2e/scripts/copy-with-tag.scr)

# Options (divisor warning, saved to the registry), then Update with its count; the settings
# are there for the next run.
add_script_test(options-update tests/e2e/expected/link-picker.dxf examples/metric-areas.scr CHECK_REGISTRY)
add_script_test(settings-persist tests/e2e/expected/link-picker.dxf tests/e2e/scripts/update.scr
                REGISTRY tests/e2e/expected/options-update.reg)

# Without the module the links are kept as proxies through a save, and work again with it.
add_script_test(proxy-save tests/e2e/expected/link-picker.dxf tests/e2e/scripts/nothing.scr NO_MODULE)
add_script_test(proxy-reopen tests/e2e/expected/proxy-save.dxf tests/e2e/scripts/scale-room.scr)

# Scripts that go wrong in the middle go on.
add_script_test(unknown-commands examples/floorplan.dxf tests/e2e/scripts/unknown.scr NOSAVE)

# Runs that cannot start: their exit status and message, and nothing written.
add_script_test(bad-usage - - NOSAVE NO_MODULE STATUS 2 ARGS --frobnicate)
add_script_test(missing-drawing tests/e2e/data/no-such-plan.dxf tests/e2e/scripts/nothing.scr SAVE_NONE STATUS 1)
add_script_test(malformed-drawing tests/e2e/data/malformed.dxf tests/e2e/scripts/nothing.scr SAVE_NONE STATUS 1)
add_script_test(malformed-script examples/floorplan.dxf tests/e2e/data/binary.scr SAVE_NONE STATUS 1)

# Quiet mode with an attribute tag beyond ASCII links the same in an R2018 drawing (UTF-8 in its
# file) as in an R2000 one (code page 1252), and both are saved in their own encoding.
add_test(NAME e2e.codepage-quiet COMMAND ${E2E_PYTHON} ${E2E_DIR}/codepage_quiet_test.py --cadhost $<TARGET_FILE:cadhost>
         --module $<TARGET_FILE:zorvik> --source ${CMAKE_SOURCE_DIR} --work ${E2E_WORK})
set_tests_properties(e2e.codepage-quiet PROPERTIES TIMEOUT 120)

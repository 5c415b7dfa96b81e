# The end-to-end tests, one line each: add_script_test(NAME DRAWING SCRIPT [options]).

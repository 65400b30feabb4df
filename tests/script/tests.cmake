# The SNDPRG case talks to Wine's own Program Manager from a fresh process.
kelbrine_wine_test(NAME script_progman COMMAND $<TARGET_FILE:test_script> -tc=SNDPRG* --no-skip)

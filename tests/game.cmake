quintor_add_test(tst_game SOURCES tst_game.cpp LIBS quintor_additions)
quintor_add_test(tst_settings SOURCES tst_settings.cpp LIBS quintor_additions)
# Started as root, tst_settings goes on as "nobody" in a folder it makes: in
# $TMPDIR, and gone afterwards.
add_test(NAME tst_settings_tmpdir COMMAND sh -c [[
d=$(mktemp -d) && chmod 1777 "$d" || exit 1
TMPDIR="$d" "$0" rootlessHomeIsInTheTempFolder; rc=$?
rmdir "$d" || { ls -A "$d"; rm -rf "$d"; exit 1; }
exit $rc]] $<TARGET_FILE:tst_settings>)
set_tests_properties(tst_settings_tmpdir PROPERTIES ENVIRONMENT "${QUINTOR_TEST_ENV}" TIMEOUT 60)
quintor_add_test(tst_random SOURCES tst_random.cpp LIBS quintor_additions)
# The event stream runs under the sanitizers with the test command; replay
# another stream with QUINTOR_FUZZ_SEED=<n>.
quintor_add_test(tst_fuzz SOURCES tst_fuzz.cpp LIBS quintor_additions)
quintor_add_test(tst_order SOURCES tst_order.cpp LIBS quintor_additions)
# Game records, their review and statistics; the coach reads the bad ones.
quintor_add_test(tst_history SOURCES tst_history.cpp LIBS quintor_additions)
target_compile_definitions(tst_history PRIVATE QUINTOR_COACH="$<TARGET_FILE:quintor-coach>")
add_dependencies(tst_history quintor-coach)
set_tests_properties(tst_history PROPERTIES FIXTURES_REQUIRED strategy_table TIMEOUT 300)
# The additions' own rules, on a table that needs no computing.
quintor_add_test(tst_additions SOURCES tst_additions.cpp LIBS quintor_additions)

# Some tests look into the chart module's windows.
find_package(Qt6 6.4 REQUIRED COMPONENTS Charts)
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
# It looks into the chart module's windows.
target_link_libraries(tst_history PRIVATE Qt6::Charts)
add_dependencies(tst_history quintor-coach quintor-charts)
set_tests_properties(tst_history PROPERTIES FIXTURES_REQUIRED strategy_table TIMEOUT 300)
# The additions' own rules, on a table that needs no computing.
quintor_add_test(tst_additions SOURCES tst_additions.cpp LIBS quintor_additions Qt6::Charts)
add_dependencies(tst_additions quintor-charts)
# Settings, a game record and the ratings on a full disk: a 64 KiB tmpfs in
# mount and user namespaces of its own (no root needed, nothing seen outside);
# skipped, saying why, where the machine allows neither.
add_executable(tst_full_disk tst_full_disk.cpp)
target_link_libraries(tst_full_disk PRIVATE Qt6::Test quintor_additions)
target_include_directories(tst_full_disk PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
quintor_warnings(tst_full_disk)
add_test(NAME tst_full_disk COMMAND sh -c [[
unshare -rm true 2>/dev/null || { echo "SKIP: no user and mount namespace here for a disk of our own"; exit 77; }
exec unshare -rm sh -c 'd=$(mktemp -d) || exit 1
mount -t tmpfs -o size=64k quintor-full-disk "$d" || { echo "SKIP: cannot mount a tmpfs"; rmdir "$d"; exit 77; }
QUINTOR_FULL_DISK="$d" "$0"; rc=$?; umount "$d"; rmdir "$d"; exit $rc' "$0"]] $<TARGET_FILE:tst_full_disk>)
set_tests_properties(tst_full_disk PROPERTIES ENVIRONMENT "${QUINTOR_TEST_ENV}" SKIP_RETURN_CODE 77
                     FIXTURES_REQUIRED strategy_table TIMEOUT 120)
# The chart module's loader, run from a folder of its own where it finds
# whatever the test puts there.
quintor_add_test(tst_chart_loader SOURCES tst_chart_loader.cpp LIBS quintor_additions)
set_target_properties(tst_chart_loader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/chart_loader/bin)
set_tests_properties(tst_chart_loader PROPERTIES TIMEOUT 60)

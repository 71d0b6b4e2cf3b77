quintor_add_test(tst_window SOURCES tst_window.cpp LIBS quintor_additions)

# Without any display the game says so in one line instead of Qt's abort.
add_test(NAME quintor_without_display
    COMMAND bash -c [=[out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1); code=$?
        printf '%s\n' "$out"
        [ "$code" -eq 1 ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] && [[ $out == *"no display"* ]]]=]
        _ $<TARGET_FILE:quintor>)
set_tests_properties(quintor_without_display PROPERTIES ENVIRONMENT "${QUINTOR_TEST_ENV}")
quintor_add_test(tst_clicks SOURCES tst_clicks.cpp LIBS quintor_additions)
# The hint and the computer opponent load the table of perfect play from the
# test cache, which the coach's fixture fills once.
quintor_add_test(tst_computer SOURCES tst_computer.cpp LIBS quintor_additions)
set_tests_properties(tst_computer PROPERTIES FIXTURES_REQUIRED strategy_table TIMEOUT 300)
# The docks and the game's other windows on a 1280 x 1024 screen, as it is
# and at twice the scale.
set(QUINTOR_SCREEN_1280 "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/screen-1280x1024.json")
quintor_add_test(tst_layout SOURCES tst_layout.cpp LIBS quintor_additions ENV ${QUINTOR_SCREEN_1280})
add_dependencies(tst_layout quintor-charts)
add_test(NAME tst_layout_scale2 COMMAND tst_layout)
set_tests_properties(tst_layout_scale2 PROPERTIES ENVIRONMENT "${QUINTOR_TEST_ENV};${QUINTOR_SCREEN_1280};QT_SCALE_FACTOR=2")

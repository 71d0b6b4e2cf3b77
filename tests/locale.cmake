# The fast tests once more without any UTF-8 locale, as on a minimal
# install, in a container or from cron: the title, names with accents and
# the stored high score must come out the same whatever the caller's locale.
set(QUINTOR_C_LOCALE LC_ALL=C LANG= LANGUAGE=)
foreach(name tst_window tst_settings tst_clicks tst_coach)
    add_test(NAME ${name}_c_locale COMMAND ${name})
    set_tests_properties(${name}_c_locale PROPERTIES
        ENVIRONMENT "${QUINTOR_TEST_ENV};${QUINTOR_C_LOCALE}" LABELS c_locale)
endforeach()
set_tests_properties(tst_coach_c_locale PROPERTIES FIXTURES_REQUIRED strategy_table)
add_test(NAME wayland_smoke_c_locale
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wayland/weston_smoke.sh $<TARGET_FILE:quintor>)
set_tests_properties(wayland_smoke_c_locale PROPERTIES
    ENVIRONMENT "${QUINTOR_TEST_ENV};${QUINTOR_C_LOCALE}" LABELS c_locale SKIP_RETURN_CODE 77 TIMEOUT 60)

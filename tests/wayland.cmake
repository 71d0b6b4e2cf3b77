# The game on Wayland: under a headless Weston its window must reach the
# compositor with its exact title. Skipped where weston is not installed.
add_test(NAME wayland_smoke
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wayland/weston_smoke.sh $<TARGET_FILE:quintor>)
set_tests_properties(wayland_smoke PROPERTIES
    ENVIRONMENT "${QUINTOR_TEST_ENV}" SKIP_RETURN_CODE 77 TIMEOUT 60)

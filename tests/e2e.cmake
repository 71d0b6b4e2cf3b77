# A whole one-player game, played with the mouse and keyboard on a private X
# server against the program as installed from this build tree. Screenshots
# of the window land in e2e-screens/ beside this file's build folder.
add_test(NAME e2e_game
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run_e2e.sh
        ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR}/e2e-screens)
set_tests_properties(e2e_game PROPERTIES
    TIMEOUT 150
    # Skipped only off CI, on a machine without Xvfb, xdotool or AT-SPI.
    SKIP_RETURN_CODE 77
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# The window on a screen with two device pixels per pixel.
quintor_add_test(tst_hidpi SOURCES tst_hidpi.cpp LIBS quintor_additions ENV QT_SCALE_FACTOR=2)

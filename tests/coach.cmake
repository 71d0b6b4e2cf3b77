# The command-line coach: its arguments and wording, and the program itself.
# The new-game figure runs first on its own, as the fixture that fills the
# test cache with the table of perfect play; later runs load it.
quintor_add_test(tst_coach SOURCES tst_coach.cpp LIBS quintor_coach_core)
target_compile_definitions(tst_coach PRIVATE QUINTOR_COACH="$<TARGET_FILE:quintor-coach>")
add_dependencies(tst_coach quintor-coach)
set_tests_properties(tst_coach PROPERTIES FIXTURES_REQUIRED strategy_table)

add_test(NAME strategy_table_cache COMMAND tst_coach newGame)
set_tests_properties(strategy_table_cache PROPERTIES
    ENVIRONMENT "${QUINTOR_TEST_ENV};QTEST_FUNCTION_TIMEOUT=900000"
    FIXTURES_SETUP strategy_table
    TIMEOUT 900)

# Its manual pages and bash completion (groff from groff-base).
add_test(NAME coach_docs
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/docs/coach_docs.sh $<TARGET_FILE:quintor-coach>
            ${PROJECT_BINARY_DIR}/src/coach/quintor-coach.1 ${PROJECT_BINARY_DIR}/src/coach/quintor-coach.bash
            ${PROJECT_SOURCE_DIR}/packaging/quintor.6)
set_tests_properties(coach_docs PROPERTIES ENVIRONMENT "${QUINTOR_TEST_ENV}" TIMEOUT 30)

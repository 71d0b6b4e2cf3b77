# Perfect play: the whole table worked out from the rules, decisions and the
# cache file.
quintor_add_test(tst_strategy
    SOURCES tst_strategy.cpp
    LIBS quintor_strategy
)

# The chance of winning, on the real table from the test cache, and from the
# coach on game records.
quintor_add_test(tst_winchance SOURCES tst_winchance.cpp LIBS quintor_history)
target_compile_definitions(tst_winchance PRIVATE QUINTOR_COACH="$<TARGET_FILE:quintor-coach>")
add_dependencies(tst_winchance quintor-coach)
set_tests_properties(tst_winchance PROPERTIES FIXTURES_REQUIRED strategy_table TIMEOUT 300)

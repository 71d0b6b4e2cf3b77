# Perfect play: time and memory of the whole table, time of one decision,
# and 10,000 seeded games played by the engine. Plain output, no library.
#   cmake --build build/bench --target run_bench_strategy
add_executable(bench_strategy bench_strategy.cpp)
target_link_libraries(bench_strategy PRIVATE quintor_strategy)
set_target_properties(bench_strategy PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(bench_strategy)

add_custom_target(run_bench_strategy
    COMMAND bench_strategy
    DEPENDS bench_strategy
    USES_TERMINAL
    COMMENT "Working out the table three times, timing decisions, playing 10,000 games"
)

# The strength levels: 10,000 seeded one-player games at each, through the
# coach with the table cached, with the time each takes.
#   cmake --build build/bench --target run_bench_levels
add_custom_target(run_bench_levels
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/bench_levels.sh $<TARGET_FILE:quintor-coach> 10000
    DEPENDS quintor-coach
    USES_TERMINAL
    COMMENT "Playing 10,000 games at each level"
)

# Game records: one review, and the statistics over 2,000 and 10,000 records.
#   cmake --build build/bench --target run_bench_history
add_executable(bench_history bench_history.cpp)
target_link_libraries(bench_history PRIVATE quintor_history)
set_target_properties(bench_history PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(bench_history)
add_custom_target(run_bench_history
    COMMAND bench_history
    DEPENDS bench_history
    USES_TERMINAL
    COMMENT "Timing a review and the statistics over 2,000 and 10,000 records"
)

# The chance of winning: one estimate for two and four players, at the start
# and halfway, with the figures it gives.
#   cmake --build build/bench --target run_bench_winchance
add_executable(bench_winchance bench_winchance.cpp)
target_link_libraries(bench_winchance PRIVATE quintor_strategy)
set_target_properties(bench_winchance PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(bench_winchance)
add_custom_target(run_bench_winchance
    COMMAND bench_winchance
    DEPENDS bench_winchance
    USES_TERMINAL
    COMMENT "Timing the chance of winning for two and four players"
)

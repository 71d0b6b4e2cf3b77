# Cost of one dice evaluation, over all 7,776 throws of five dice.
# Build without sanitizers, in Release, and run:
#   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTOR_BUILD_BENCHMARKS=ON
#   cmake --build build/bench --target run_bench_valmod
find_package(benchmark REQUIRED)

add_executable(bench_valmod bench_valmod.cpp)
target_link_libraries(bench_valmod PRIVATE quintor_scoring benchmark::benchmark_main)
set_target_properties(bench_valmod PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(bench_valmod)

add_custom_target(run_bench_valmod
    COMMAND bench_valmod
    DEPENDS bench_valmod
    USES_TERMINAL
    COMMENT "Timing the dice evaluation (ns per evaluation in the per_eval column)"
)

# Start-up time, resident memory and idle cost of the game against a bare
# window with the same controls, each on a private Xvfb (package xvfb).
# Build without sanitizers, in Release, and run:
#   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTOR_BUILD_BENCHMARKS=ON \
#         -DQUINTOR_BUILD_TESTS=OFF
#   cmake --build build/bench --target bench_startup
# Options (runs, idle seconds, extra environment) are listed at the top of
# startup.cpp; run build/bench/bench/bench_startup_harness by hand to use them.

# The window alone: Qt Widgets only, none of the game's code or resources.
qt_add_executable(bench_bare_window bare_window.cpp)
target_link_libraries(bench_bare_window PRIVATE Qt6::Widgets)
set_target_properties(bench_bare_window PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(bench_bare_window)

# Starts both programs and watches their windows on the X server.
find_package(X11 REQUIRED)
add_executable(bench_startup_harness startup.cpp)
target_link_libraries(bench_startup_harness PRIVATE X11::X11)
set_target_properties(bench_startup_harness PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(bench_startup_harness)

add_custom_target(bench_startup
    COMMAND bench_startup_harness $<TARGET_FILE:quintor> $<TARGET_FILE:bench_bare_window>
    DEPENDS bench_startup_harness bench_bare_window quintor
    USES_TERMINAL
    COMMENT "Start-up, memory and idle cost of the game against the bare window (about a minute)"
)

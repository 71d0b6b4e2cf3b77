# Latency from PlayResSound to the first sample at the sound server's sink,
# and the time PlayResSound takes to return, on a private PulseAudio server
# with a null sink (needs pulseaudio and pulseaudio-utils). Build without
# sanitizers, in Release, and run:
#   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTOR_BUILD_BENCHMARKS=ON
#   cmake --build build/bench --target run_bench_sound_latency
add_executable(bench_sound_latency bench_sound_latency.cpp)
target_link_libraries(bench_sound_latency PRIVATE quintor_resources)
quintor_warnings(bench_sound_latency)

add_custom_target(run_bench_sound_latency
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/sound_latency.sh $<TARGET_FILE:bench_sound_latency>
    DEPENDS bench_sound_latency
    USES_TERMINAL
    COMMENT "Timing sound playback on a private null-sink server"
)

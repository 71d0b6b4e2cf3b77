# Qt's own (non-glib) event dispatcher also delivers queued calls inside the
# nested event loop that deleting a QAudioSink runs; the player must cope.
quintor_add_test(tst_sound SOURCES tst_sound.cpp LIBS quintor_resources ENV QT_NO_GLIB=1)

# No sound server at all: an empty runtime folder of its own, and a server
# address that leads nowhere (which also stops libpulse from starting one).
set(QUINTOR_NOAUDIO_RUNTIME ${CMAKE_CURRENT_BINARY_DIR}/home/noaudio-runtime)
file(MAKE_DIRECTORY ${QUINTOR_NOAUDIO_RUNTIME})
file(CHMOD ${QUINTOR_NOAUDIO_RUNTIME} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
quintor_add_test(tst_sound_noaudio SOURCES tst_sound_noaudio.cpp LIBS quintor_resources
    ENV XDG_RUNTIME_DIR=${QUINTOR_NOAUDIO_RUNTIME} PULSE_SERVER=unix:${QUINTOR_NOAUDIO_RUNTIME}/no-server)
set_tests_properties(tst_sound_noaudio PROPERTIES TIMEOUT 30)

# Real playback on a private PulseAudio server with a null sink, recorded
# from its monitor (needs the pulseaudio and pulseaudio-utils packages).
add_executable(sound_probe audio/sound_probe.cpp)
target_link_libraries(sound_probe PRIVATE quintor_resources)
quintor_warnings(sound_probe)
add_test(NAME tst_sound_live
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/audio/tst_sound_live.sh $<TARGET_FILE:sound_probe>)
set_tests_properties(tst_sound_live PROPERTIES ENVIRONMENT "${QUINTOR_TEST_ENV}" TIMEOUT 60 SKIP_RETURN_CODE 77)

# The same server stopped (kill -STOP) or killed under a running program:
# quitting still ends it soon and cleanly.
add_test(NAME tst_sound_hang
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/audio/tst_sound_hang.sh $<TARGET_FILE:sound_probe>)
set_tests_properties(tst_sound_hang PROPERTIES ENVIRONMENT "${QUINTOR_TEST_ENV}" TIMEOUT 120 SKIP_RETURN_CODE 77)

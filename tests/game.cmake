quintor_add_test(tst_game SOURCES tst_game.cpp LIBS quintor_app)
quintor_add_test(tst_settings SOURCES tst_settings.cpp LIBS quintor_app)
quintor_add_test(tst_random SOURCES tst_random.cpp LIBS quintor_app)
# The event stream runs under the sanitizers with the test command; replay
# another stream with QUINTOR_FUZZ_SEED=<n>.
quintor_add_test(tst_fuzz SOURCES tst_fuzz.cpp LIBS quintor_app)

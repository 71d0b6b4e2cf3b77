quintor_add_test(tst_game SOURCES tst_game.cpp LIBS quintor_app)

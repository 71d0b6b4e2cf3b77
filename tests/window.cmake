quintor_add_test(tst_window SOURCES tst_window.cpp LIBS quintor_app)

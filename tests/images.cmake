quintor_add_test(tst_images SOURCES tst_images.cpp LIBS quintor_resources)

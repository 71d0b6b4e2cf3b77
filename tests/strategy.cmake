# Perfect play: the whole table worked out from the rules, decisions and the
# cache file.
quintor_add_test(tst_strategy
    SOURCES tst_strategy.cpp
    LIBS quintor_strategy
)

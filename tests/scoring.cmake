# The scoring rules: known sample throws plus every throw with faces 0..6.
quintor_add_test(tst_valmod
    SOURCES tst_valmod.cpp
    LIBS quintor_scoring
)

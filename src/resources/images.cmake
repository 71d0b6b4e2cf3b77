target_sources(quintor_resources PRIVATE DiceImages.cpp DiceImages.h)

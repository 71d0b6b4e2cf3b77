target_sources(quintor_resources PRIVATE SoundModule.cpp SoundModule.h)

# The sound clips ROLL, GLASS and CLAP, synthesised by tools/gen_sounds.cpp at
# build time and embedded as :/sound/ROLL, :/sound/GLASS and :/sound/CLAP.
set(QUINTOR_SOUND_DIR ${CMAKE_CURRENT_BINARY_DIR}/sounds)
quintor_generate(gen_sounds ${QUINTOR_SOUND_DIR} "Synthesising the sound clips"
    roll.wav glass.wav clap.wav)

# Resource names are the upper-case clip names; lookups upper-case the name
# they are given. Stored uncompressed so a lookup is a plain copy.
set_source_files_properties(${QUINTOR_SOUND_DIR}/roll.wav PROPERTIES QT_RESOURCE_ALIAS ROLL)
set_source_files_properties(${QUINTOR_SOUND_DIR}/glass.wav PROPERTIES QT_RESOURCE_ALIAS GLASS)
set_source_files_properties(${QUINTOR_SOUND_DIR}/clap.wav PROPERTIES QT_RESOURCE_ALIAS CLAP)
qt_add_resources(quintor_resources "sounds"
    PREFIX "/sound"
    BASE ${QUINTOR_SOUND_DIR}
    OPTIONS -no-compress
    FILES ${gen_sounds_OUTPUTS}
)

target_sources(quintor_resources PRIVATE SoundModule.cpp SoundModule.h WavPlayer.cpp WavPlayer.h)

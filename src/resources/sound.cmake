# The sound clips ROLL, GLASS and CLAP, synthesised by tools/gen_sounds.cpp at
# build time and embedded as :/sound/ROLL, :/sound/GLASS and :/sound/CLAP.
add_executable(gen_sounds ${PROJECT_SOURCE_DIR}/tools/gen_sounds.cpp)
set_target_properties(gen_sounds PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(gen_sounds)

set(QUINTOR_SOUND_DIR ${CMAKE_CURRENT_BINARY_DIR}/sounds)
set(QUINTOR_SOUND_FILES
    ${QUINTOR_SOUND_DIR}/roll.wav
    ${QUINTOR_SOUND_DIR}/glass.wav
    ${QUINTOR_SOUND_DIR}/clap.wav
)
add_custom_command(
    OUTPUT ${QUINTOR_SOUND_FILES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUINTOR_SOUND_DIR}
    COMMAND gen_sounds ${QUINTOR_SOUND_DIR}
    DEPENDS gen_sounds
    COMMENT "Synthesising the sound clips"
    VERBATIM
)

# Resource names are the upper-case clip names; lookups upper-case the name
# they are given. Stored uncompressed so a lookup is a plain copy.
set_source_files_properties(${QUINTOR_SOUND_DIR}/roll.wav PROPERTIES QT_RESOURCE_ALIAS ROLL)
set_source_files_properties(${QUINTOR_SOUND_DIR}/glass.wav PROPERTIES QT_RESOURCE_ALIAS GLASS)
set_source_files_properties(${QUINTOR_SOUND_DIR}/clap.wav PROPERTIES QT_RESOURCE_ALIAS CLAP)
qt_add_resources(quintor_resources "sounds"
    PREFIX "/sound"
    BASE ${QUINTOR_SOUND_DIR}
    OPTIONS -no-compress
    FILES ${QUINTOR_SOUND_FILES}
)

target_sources(quintor_resources PRIVATE SoundModule.cpp SoundModule.h WavPlayer.cpp WavPlayer.h)

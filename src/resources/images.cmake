# Die faces 101..106 and the window icon, drawn by tools/gen_images.cpp at
# build time and embedded as :/images/<id>.dib and :/images/quintor.ico.
set(QUINTOR_IMAGE_DIR ${CMAKE_CURRENT_BINARY_DIR}/images)
quintor_generate(gen_images ${QUINTOR_IMAGE_DIR} "Drawing die faces and window icon"
    101.dib 102.dib 103.dib 104.dib 105.dib 106.dib quintor.ico)

qt_add_resources(quintor_resources "images"
    PREFIX "/"
    BASE ${CMAKE_CURRENT_BINARY_DIR}
    FILES ${gen_images_OUTPUTS}
)

target_sources(quintor_resources PRIVATE DiceImages.cpp DiceImages.h)

# Die faces 101..106 and the window icon, drawn by tools/gen_images.cpp at
# build time and embedded as :/images/<id>.dib and :/images/quintor.ico.
add_executable(gen_images ${PROJECT_SOURCE_DIR}/tools/gen_images.cpp)
quintor_warnings(gen_images)
set_target_properties(gen_images PROPERTIES AUTOMOC OFF AUTOUIC OFF)

set(QUINTOR_IMAGE_DIR ${CMAKE_CURRENT_BINARY_DIR}/images)
set(QUINTOR_IMAGE_FILES
    ${QUINTOR_IMAGE_DIR}/101.dib
    ${QUINTOR_IMAGE_DIR}/102.dib
    ${QUINTOR_IMAGE_DIR}/103.dib
    ${QUINTOR_IMAGE_DIR}/104.dib
    ${QUINTOR_IMAGE_DIR}/105.dib
    ${QUINTOR_IMAGE_DIR}/106.dib
    ${QUINTOR_IMAGE_DIR}/quintor.ico
)
add_custom_command(
    OUTPUT ${QUINTOR_IMAGE_FILES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUINTOR_IMAGE_DIR}
    COMMAND gen_images ${QUINTOR_IMAGE_DIR}
    DEPENDS gen_images
    COMMENT "Drawing die faces and window icon"
    VERBATIM
)

qt_add_resources(quintor_resources "images"
    PREFIX "/"
    BASE ${CMAKE_CURRENT_BINARY_DIR}
    FILES ${QUINTOR_IMAGE_FILES}
)

target_sources(quintor_resources PRIVATE DiceImages.cpp DiceImages.h)

# Desktop integration (menu entry, software-centre metadata, icons) and the
# Debian package. Included from the top-level CMakeLists.txt after src/.

# Must match QApplication::setDesktopFileName() in src/main.cpp, or desktops
# cannot tie the running window to its menu entry and icon.
set(QUINTOR_APP_ID io.github.quintor.Quintor)
set(QUINTOR_EXECUTABLE quintor)
set(QUINTOR_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)

# ------------------------------------------------------------------ icons
# The window icon exists only as a generated 32x32 .ico; menus want PNGs in
# the hicolor theme. Larger sizes repeat pixels so the artwork stays crisp.
set(QUINTOR_ICON_SOURCE ${PROJECT_BINARY_DIR}/src/resources/images/quintor.ico)
set(QUINTOR_ICON_SIZES 32 64 128)

add_executable(ico_to_png ${PROJECT_SOURCE_DIR}/tools/ico_to_png.cpp)
target_link_libraries(ico_to_png PRIVATE Qt6::Gui)
set_target_properties(ico_to_png PROPERTIES AUTOMOC OFF AUTOUIC OFF)
quintor_warnings(ico_to_png)

set(quintor_icon_commands)
set(quintor_icon_files)
foreach(size IN LISTS QUINTOR_ICON_SIZES)
    set(dir ${QUINTOR_PACKAGING_DIR}/icons/hicolor/${size}x${size}/apps)
    list(APPEND quintor_icon_commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ico_to_png ${QUINTOR_ICON_SOURCE} ${dir}/${QUINTOR_APP_ID}.png ${size})
    list(APPEND quintor_icon_files ${dir}/${QUINTOR_APP_ID}.png)
    install(FILES ${dir}/${QUINTOR_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

add_custom_command(
    OUTPUT ${quintor_icon_files}
    ${quintor_icon_commands}
    DEPENDS ico_to_png ${QUINTOR_ICON_SOURCE}
    COMMENT "Converting the window icon to hicolor PNGs"
    VERBATIM
)
add_custom_target(quintor_icons ALL DEPENDS ${quintor_icon_files})
# The .ico is drawn by a custom command that belongs to quintor_resources.
add_dependencies(quintor_icons quintor_resources)

# ------------------------------------------- menu entry and metadata
configure_file(${CMAKE_CURRENT_LIST_DIR}/${QUINTOR_APP_ID}.desktop.in
               ${QUINTOR_PACKAGING_DIR}/${QUINTOR_APP_ID}.desktop @ONLY)
install(FILES ${QUINTOR_PACKAGING_DIR}/${QUINTOR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${QUINTOR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# ---------------------------------------------------------- Debian package
set(CPACK_PACKAGE_NAME quintor)
set(CPACK_PACKAGE_VENDOR "Quintor Developers")
set(CPACK_PACKAGE_CONTACT "Quintor Developers <dev@quintor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dice game for one to four players at one computer")
# Debian wants the long description wrapped; CPack indents each line.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Up to four people take turns at the same computer: throw five dice up"
    "to three times, keep the best ones and fill the fifteen boxes of the"
    "score card. The best score ever reached is remembered.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quintor.github.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/")

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quintor Developers <dev@quintor.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Libraries come from dpkg-shlibdeps. What is only loaded at run time no tool
# can find: the font, by name (the window's captions fall back to it), and
# Qt's Wayland platform plugin, without which a Wayland desktop runs the game
# through XWayland. (Qt Charts, which only the chart module in
# <libdir>/quintor links, is found there by dpkg-shlibdeps.)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-wayland")
# With Liberation as the only fonts, fontconfig maps sans-serif to
# Liberation Mono, so menus and dialogs would come out monospaced.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

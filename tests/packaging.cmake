# Installs the build tree into a scratch prefix and checks what a desktop
# needs from it: program, menu entry, software-centre metadata and icons, and
# what Debian asks of installed files (no run paths, compressed manual pages,
# a module that shows nothing but its entry point).
add_test(NAME packaging_install
    COMMAND ${CMAKE_COMMAND}
        -DBUILD_DIR=${PROJECT_BINARY_DIR}
        -DPREFIX=${CMAKE_CURRENT_BINARY_DIR}/packaging-root
        -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
        -DVERSION=${PROJECT_VERSION}
        -DLIBDIR=${CMAKE_INSTALL_LIBDIR}
        -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging/check_install.cmake
)
set_tests_properties(packaging_install PROPERTIES TIMEOUT 60)

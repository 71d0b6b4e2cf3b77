# What build.sh does on a fresh machine, with stand-ins for apt and sudo.
add_test(NAME setup_apt_through_sudo
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/apt_through_sudo.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(setup_apt_through_sudo PROPERTIES TIMEOUT 30)

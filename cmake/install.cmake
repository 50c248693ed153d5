# What `cmake --install` puts beside the program, and the Debian package made from it
# (`cpack -G DEB`, wrapped by `./x package`).

if(NOT TARGET tianbo)
    return()
endif()

# Installing builds nothing: ./x install and ./x package build first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(desktop_dir ${PROJECT_SOURCE_DIR}/assets/desktop)
install(FILES ${desktop_dir}/tianbo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${desktop_dir}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
configure_file(${desktop_dir}/org.tianbo.Tianbo.metainfo.xml ${PROJECT_BINARY_DIR}/org.tianbo.Tianbo.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/org.tianbo.Tianbo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME tianbo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Tianbo developers <tianbo@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # tianbo_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries the program links come from dpkg-shlibdeps. These are loaded at run time
# without being linked, so no tool can see them: Qt's X11 platform plugin, the web engine's
# helper process, the CJK font the skin's captions are drawn in, and OpenGL drivers.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6webenginecore6-bin, fonts-wqy-zenhei, libgl1-mesa-dri")
set(CPACK_STRIP_FILES ON)
include(CPack)

if(TIANBO_TESTS)
    # The files an install puts in place, each checked by its own validator.
    add_test(NAME install_files_in_place_and_valid
             COMMAND ${PROJECT_SOURCE_DIR}/tools/check_install.sh ${PROJECT_BINARY_DIR})
    set_tests_properties(install_files_in_place_and_valid PROPERTIES LABELS install TIMEOUT 120)
endif()

# `cmake --install` puts both programs in bin/ and their data in share/vexa_game/,
# with the desktop entry, the icon and the AppStream metainfo that desktops and
# software centres read; `cpack` packs the same files into a Debian package.
set(VEXA_APP_ID org.vexagame.vexa_game)
set(VEXA_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
set(VEXA_DESKTOP_ENTRY ${VEXA_PACKAGING_DIR}/${VEXA_APP_ID}.desktop)
set(VEXA_METAINFO ${VEXA_PACKAGING_DIR}/${VEXA_APP_ID}.metainfo.xml)
set(VEXA_ICON ${VEXA_PACKAGING_DIR}/${VEXA_APP_ID}.png)
configure_file(packaging/vexa_game.desktop.in ${VEXA_DESKTOP_ENTRY} @ONLY)
configure_file(packaging/vexa_game.metainfo.xml.in ${VEXA_METAINFO} @ONLY)

# The icon is drawn by the resource generator. The game programs depend on it, so a
# build of the game alone can be installed.
vexa_generate(vexa_icon resgen.icon ${VEXA_ICON} "Drawing the desktop icon")
add_dependencies(vexa_game vexa_icon)
add_dependencies(vexa_game_fullscreen vexa_icon)

install(TARGETS vexa_game vexa_game_fullscreen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Shader ${VEXA_RUNTIME_DIR}/Resources
        DESTINATION ${VEXA_INSTALL_DATADIR})
install(FILES ${VEXA_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VEXA_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VEXA_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# Debian package names take no underscore. The libraries the programs link are found
# by dpkg-shlibdeps and declared as the package's dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexa-game)
set(CPACK_PACKAGE_VENDOR "The Vexa's Voyage developers")
set(CPACK_PACKAGE_CONTACT "The Vexa's Voyage developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# What `cmake --install` puts where, and the Debian package made from it by `cpack -G DEB`.
# The programs find their material as ../share/quorbel from their own folder (story/Places.cpp),
# so the install can be moved as a whole.
set(QUORBEL_APP_ID org.quorbel.Quorbel)
set(QUORBEL_PACKAGING ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS quorbel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quorbel)
  install(TARGETS quorbel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quorbel)

install(FILES ${QUORBEL_PACKAGING}/${QUORBEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUORBEL_PACKAGING}/icons/quorbel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${QUORBEL_APP_ID}.svg)
foreach(size 48 64 128 256)
  install(FILES ${QUORBEL_PACKAGING}/icons/quorbel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${QUORBEL_APP_ID}.png)
endforeach()

# The version in these two comes from project().
configure_file(${QUORBEL_PACKAGING}/${QUORBEL_APP_ID}.metainfo.xml
               ${PROJECT_BINARY_DIR}/packaging/${QUORBEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${QUORBEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
configure_file(${QUORBEL_PACKAGING}/quorbel-cli.1 ${PROJECT_BINARY_DIR}/packaging/quorbel-cli.1 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/quorbel-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME quorbel)
set(CPACK_PACKAGE_VENDOR "Quorbel")
set(CPACK_PACKAGE_CONTACT "Quorbel <quorbel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Russian detective stories composed while the reader plays detective")
set(CPACK_PACKAGE_DESCRIPTION "Quorbel composes detective stories in Russian from plain-text story \
material and lets the reader play detective while the story unfolds: a bulls-and-cows game against a \
secret code of four suspects, whose guesses steer the text. A window program and a command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quorbel.example.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Libraries as dpkg-shlibdeps finds them in the programs; the page font and the display plugins
# by name, since Qt loads both at run time (the plugins are only recommended by Qt itself).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-urw-base35)
include(CPack)

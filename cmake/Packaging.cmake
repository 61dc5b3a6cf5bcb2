# Installing and packaging: the game, its desktop entry and its README in
# the usual places, and a Debian package of them (cpack, or `make package`).
install(FILES ${PROJECT_SOURCE_DIR}/packaging/skerrion.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skerrion)
set(CPACK_PACKAGE_VENDOR "The Skerrion developers")
set(CPACK_PACKAGE_CONTACT "The Skerrion developers <skerrion@users.noreply.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A figure falls through a window; blocks scroll in from the right and it must keep "
    "landing on them. Drawn from glitching rectangles and lines with SDL2; the status line "
    "and the final score go to the console.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # skerrion_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies come from the libraries the binary links, so the package
# asks for SDL2's runtime library (libsdl2-2.0-0), never its -dev package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

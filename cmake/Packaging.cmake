# Installing and packaging: the game, its desktop entry, icon, manual page,
# software-centre entry and documentation in the usual places, and a Debian
# package of them (`make package`, the `package` preset, which installs the
# game into games/ as Debian does with games).
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(metainfo example.skerrion.Skerrion.metainfo.xml)
set(icon_sizes 16 22 24 32 48 64 128 256)

# The version stands in the changelog, the manual page and the software-centre
# entry as well: a release that changes it must change them too.
string(REPLACE "." "\\." version "${PROJECT_VERSION}")
foreach(check IN ITEMS "changelog:^skerrion \\(${version}\\)"
                       "skerrion.6:^\\.TH SKERRION 6 [^\n]* \"Skerrion ${version}\""
                       "${metainfo}:<releases>[ \n]*<release version=\"${version}\"")
    string(REGEX MATCH "^([^:]*):(.*)$" parts "${check}")
    file(READ ${packaging}/${CMAKE_MATCH_1} text)
    if(NOT text MATCHES "${CMAKE_MATCH_2}")
        message(FATAL_ERROR "packaging/${CMAKE_MATCH_1} does not name version ${PROJECT_VERSION}")
    endif()
endforeach()

# The manual page and the changelog are installed compressed, with no time
# stamp in the gzip header so that every build gives the same bytes.
foreach(name skerrion.6 changelog)
    execute_process(COMMAND gzip -9n -c ${packaging}/${name}
        OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging}/${name})
endforeach()

install(FILES ${packaging}/skerrion.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS icon_sizes)
    install(FILES ${packaging}/icons/skerrion-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME skerrion.png)
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/skerrion.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging}/copyright
    ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skerrion)
set(CPACK_PACKAGE_VENDOR "The Skerrion developers")
set(CPACK_PACKAGE_CONTACT "The Skerrion developers <skerrion@users.noreply.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game of a falling figure and scrolling blocks")
# Lines under 80 characters, as Debian's tools show them on a terminal.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A figure falls through a window while blocks scroll in from the right at\n"
    "random heights. Land on them, jump from them, and jump twice more in the\n"
    "air before touching a block again; every block scores one point the first\n"
    "time it is touched. Leaving the window ends the run.\n"
    "\n"
    "Everything is drawn from rectangles and lines with SDL2, each object three\n"
    "times in red, green and blue, which flicker apart while it is glitched. The\n"
    "game is played with Space, A and D; it prints a status line and the final\n"
    "score on the terminal it runs in.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # skerrion_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies come from the libraries the binary links, so the package
# asks for SDL2's runtime library (libsdl2-2.0-0), never its -dev package,
# and for the shared C++ runtime, whose security updates then reach the game.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

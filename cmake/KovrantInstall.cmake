# Where `cmake --install` puts the programs and what a desktop expects around them, and the
# Debian package that `make package` builds from the same rules.
include(GNUInstallDirs)

# The help pages, the man page and the AppStream file name the version as "@PROJECT_VERSION@";
# they are installed as configured into the build tree, where the help stands beside the
# program, which looks there first.
set(KOVRANT_HELP)
foreach(name kovrant-help.ja.html kovrant-help.en.html)
    configure_file(${PROJECT_SOURCE_DIR}/doc/help/${name} ${PROJECT_BINARY_DIR}/src/app/${name}
                   @ONLY)
    list(APPEND KOVRANT_HELP ${PROJECT_BINARY_DIR}/src/app/${name})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/doc/kovrant-cli.1 ${PROJECT_BINARY_DIR}/doc/kovrant-cli.1
               @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/io.github.kovrant.Kovrant.metainfo.xml
               ${PROJECT_BINARY_DIR}/data/io.github.kovrant.Kovrant.metainfo.xml @ONLY)

install(TARGETS kovrant kovrant-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KOVRANT_HELP} DESTINATION ${CMAKE_INSTALL_DATADIR}/kovrant)
install(FILES ${PROJECT_SOURCE_DIR}/data/io.github.kovrant.Kovrant.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/data/io.github.kovrant.Kovrant.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_BINARY_DIR}/doc/kovrant-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kovrant)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kovrant developers")
set(CPACK_PACKAGE_CONTACT "The Kovrant developers <kovrant@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Divide and combine time-tagged karaoke lyrics (window and command line)")
set(CPACK_PACKAGE_DESCRIPTION
    "Kovrant divides time-tagged Japanese karaoke lyrics into plain source lyrics and a time-tag data file (TTD) with a CRC of the lyrics, and combines the two again, optionally rescaling every time to a forced @TimeRatio. It also renames files to a new extension. The window takes files dragged from the desktop; kovrant-cli does the same from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries the programs link come from dpkg-shlibdeps; Qt's platform plugins and a
# Japanese font are loaded at run time and so are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")
include(CPack)

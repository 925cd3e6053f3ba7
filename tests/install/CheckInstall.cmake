# Installs the build into a fresh prefix and checks the tree a desktop expects, with the
# desktop's own validators where they are installed. Run by CTest with -DBUILD_DIR and -DPREFIX.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file
        bin/kovrant bin/kovrant-cli
        share/kovrant/kovrant-help.ja.html share/kovrant/kovrant-help.en.html
        share/applications/io.github.kovrant.Kovrant.desktop
        share/metainfo/io.github.kovrant.Kovrant.metainfo.xml
        share/icons/hicolor/scalable/apps/kovrant.svg
        share/icons/hicolor/16x16/apps/kovrant.png share/icons/hicolor/256x256/apps/kovrant.png
        share/man/man1/kovrant-cli.1)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND ${PREFIX}/bin/kovrant-cli --version OUTPUT_VARIABLE version
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT version STREQUAL "kovrant-cli ${VERSION}\n")
    message(FATAL_ERROR "the installed kovrant-cli does not run: ${version}")
endif()
# Every installed text that names the version names the one project() gives.
foreach(file share/kovrant/kovrant-help.ja.html share/kovrant/kovrant-help.en.html
        share/metainfo/io.github.kovrant.Kovrant.metainfo.xml share/man/man1/kovrant-cli.1)
    file(READ ${PREFIX}/${file} text)
    string(FIND "${text}" "${VERSION}" at)
    string(FIND "${text}" "@PROJECT_VERSION@" placeholder)
    if(at EQUAL -1 OR NOT placeholder EQUAL -1)
        message(FATAL_ERROR "${file} does not name version ${VERSION}")
    endif()
endforeach()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE}
                            ${PREFIX}/share/applications/io.github.kovrant.Kovrant.desktop
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate refuses the desktop entry")
    endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
                            ${PREFIX}/share/metainfo/io.github.kovrant.Kovrant.metainfo.xml
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "appstreamcli refuses the metainfo file")
    endif()
endif()
file(REMOVE_RECURSE ${PREFIX})

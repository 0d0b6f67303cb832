# The desktop program's place on a Linux desktop: its entry (so that it is in the menus and opens
# clone files from the file manager), its icon and the MIME type of ".t590" files. The entry
# names the installed program by its full path, so that a prefix outside PATH works too.
if(WIN32 OR APPLE)
    return()
endif()
set(PQ_DESKTOP_DIR ${PQ_RESOURCE_DIR}/desktop)
install(FILES ${PQ_DESKTOP_DIR}/pqt590-mime.xml DESTINATION share/mime/packages RENAME pqt590.xml)
install(FILES ${PQ_RESOURCE_DIR}/icons/pqt590.svg DESTINATION share/icons/hicolor/scalable/apps)
install(CODE "
    file(READ \"${PQ_DESKTOP_DIR}/pqt590.desktop\" entry)
    string(REPLACE \"Exec=pqt590 \" \"Exec=\${CMAKE_INSTALL_PREFIX}/bin/pqt590 \" entry \"\${entry}\")
    set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications\")
    file(MAKE_DIRECTORY \"\${dir}\")
    message(STATUS \"Installing: \${dir}/pqt590.desktop\")
    file(WRITE \"\${dir}/pqt590.desktop\" \"\${entry}\")
    # Installed straight onto this system (not staged): the desktop learns of the new type now.
    if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
        find_program(update_mime update-mime-database)
        if(update_mime)
            execute_process(COMMAND \${update_mime} \"\${CMAKE_INSTALL_PREFIX}/share/mime\"
                            OUTPUT_QUIET ERROR_QUIET)
        endif()
        find_program(update_desktop update-desktop-database)
        if(update_desktop)
            execute_process(COMMAND \${update_desktop} \"\${dir}\" OUTPUT_QUIET ERROR_QUIET)
        endif()
    endif()
")

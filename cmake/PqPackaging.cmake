# What a system installation holds besides the programs and their resources, and the Debian
# package made of it all (./scripts/package.sh): manual pages made at build time from the
# programs' own --help, the icon as PNG pictures for the icon theme, the bash completion of
# pqt590-cli, the AppStream metadata and the package's documentation.
if(WIN32 OR APPLE)
    return()
endif()
set(PQ_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(PQ_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
# Where the metadata says the program lives; the screenshots are the README's, below it.
set(PQ_HOMEPAGE "https://vexa.example/pqt590/" CACHE STRING "The program's home page")
set(PQ_RELEASE_DATE 2026-12-10)
find_program(PQ_GZIP gzip REQUIRED)

# Manual pages: help2man runs each program's --help and --version, so the page never says other
# than the program. Without help2man there are none (the package test then fails).
find_program(PQ_HELP2MAN help2man)
set(PQ_MAN_PAGES)
if(PQ_HELP2MAN)
    foreach(program pqt590 pqt590-cli)
        if(NOT TARGET ${program})
            continue()
        endif()
        set(page ${PQ_PACKAGING_OUT}/${program}.1)
        add_custom_command(
            OUTPUT ${page}.gz
            COMMAND ${PQ_HELP2MAN} --no-info --section=1
                    --include=${PQ_PACKAGING_DIR}/${program}.h2m
                    --output=${page} $<TARGET_FILE:${program}>
            COMMAND ${PQ_GZIP} -9nf ${page}
            DEPENDS ${program} ${PQ_PACKAGING_DIR}/${program}.h2m
            COMMENT "Making the manual page ${program}(1) from its --help")
        list(APPEND PQ_MAN_PAGES ${page}.gz)
    endforeach()
    add_custom_target(pq_man_pages ALL DEPENDS ${PQ_MAN_PAGES})
    install(FILES ${PQ_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(STATUS "help2man not found: no manual pages (scripts/deps.sh installs it)")
endif()

# The icon at the theme's usual sizes, drawn from the SVG by the program's own renderer.
set(PQ_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_args)
set(icon_files)
foreach(size ${PQ_ICON_SIZES})
    set(png ${PQ_PACKAGING_OUT}/icons/${size}x${size}/pqt590.png)
    list(APPEND icon_args ${size} ${png})
    list(APPEND icon_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
list(TRANSFORM icon_files REPLACE "/pqt590.png$" "" OUTPUT_VARIABLE icon_dirs)
add_custom_command(
    OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dirs}
    COMMAND t590-icon-png ${PQ_RESOURCE_DIR}/icons/pqt590.svg ${icon_args}
    DEPENDS t590-icon-png ${PQ_RESOURCE_DIR}/icons/pqt590.svg
    COMMENT "Drawing the program's icon at ${PQ_ICON_SIZES} pixels")
add_custom_target(pq_icons ALL DEPENDS ${icon_files})

# The completion of pqt590-cli, where bash-completion loads it on the first <Tab>.
install(FILES ${PQ_PACKAGING_DIR}/pqt590-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME pqt590-cli)

# The software centres' description.
set(PQ_APPSTREAM_ID com.vexa.pqt590)
configure_file(${PQ_PACKAGING_DIR}/${PQ_APPSTREAM_ID}.metainfo.xml.in
               ${PQ_PACKAGING_OUT}/${PQ_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PQ_PACKAGING_OUT}/${PQ_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The package's documentation: its copyright and its change log (compressed, as Debian keeps it).
set(PQ_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pqt590)
add_custom_command(
    OUTPUT ${PQ_PACKAGING_OUT}/changelog.gz
    COMMAND ${PQ_GZIP} -9n -c ${PQ_PACKAGING_DIR}/changelog > ${PQ_PACKAGING_OUT}/changelog.gz
    DEPENDS ${PQ_PACKAGING_DIR}/changelog
    COMMENT "Compressing the package's change log")
add_custom_target(pq_changelog ALL DEPENDS ${PQ_PACKAGING_OUT}/changelog.gz)
install(FILES ${PQ_PACKAGING_DIR}/copyright ${PQ_PACKAGING_OUT}/changelog.gz
        DESTINATION ${PQ_DOC_DIR})

# The package. Only the default component goes in: the demo radio stays with the sources.
#
# lintian (Debian 12) finds neither errors nor warnings in it. What it notes (info) and keeps:
# - package-contains-documentation-outside-usr-share-doc, PQT590_Help.html: the program's own
#   help, opened from Help > Contents beside the other resources, not package documentation;
# - spelling-error-in-binary "SelectON": a name of Qt's inside the binaries, not our text;
# - hardening-no-fortify-functions: only in a package made from a developer's build tree (the
#   package test); scripts/package.sh builds with dpkg-buildflags, as Debian's packages are;
# - hardening-no-bindnow: Debian's default flags do not ask for immediate binding either;
# - binary-has-unneeded-section .comment: the compiler's note, which CPack's strip keeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pqt590)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Vexa)
set(CPACK_PACKAGE_CONTACT "Vexa PQ-T590 team <pqt590@vexa.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for the T590 marine HF transceiver")
file(READ ${PQ_PACKAGING_DIR}/description CPACK_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PQ_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The desktop entry names /usr/bin/pqt590: the package is staged with DESTDIR, its prefix /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
include(CPack)

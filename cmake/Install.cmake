# The install (cmake --install, GNUInstallDirs) and the Debian package (cpack -G DEB).
#
#   bin/likentor                                   the program (its command line)
#   bin/likentor-window                            the program with its window, which likentor
#                                                  starts in its place without a command
#   share/likentor/data/, share/likentor/graphics/ its read-only shipped files, found from the
#                                                  executable (LIKENTOR_SHIPPED_FROM_BIN)
#   share/applications/, share/metainfo/           desktop entry and AppStream metadata
#   share/icons/hicolor/<size>/apps/likentor.png   the icon at the kit's sizes
#   share/man/man1/likentor.1.gz                   the manual page (likentor-window.1.gz a link)
#
# An installed program writes nothing below its install: the user's tables go into the user's own
# folders (src/shell/platform.h).

set(LIKENTOR_APP_ID org.likentor.likentor)
set(LIKENTOR_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/likentor)
set(LIKENTOR_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(LIKENTOR_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)
# The date of this version's release, in the metadata and the manual page.
set(LIKENTOR_RELEASE_DATE 2026-12-07)

install(TARGETS likentor likentor-window RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The shipped data files from the sources: the build's program folder may hold tables of a run.
install(FILES ${LIKENTOR_DATA_FILES} DESTINATION ${LIKENTOR_SHARE_DIR}/data)
if(LIKENTOR_ARTWORK)
  install(DIRECTORY ${LIKENTOR_PROGRAM_DIR}/graphics DESTINATION ${LIKENTOR_SHARE_DIR})
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${LIKENTOR_PROGRAM_DIR}/graphics/icon/likentor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME likentor.png)
  endforeach()
endif()

install(FILES ${LIKENTOR_PACKAGING_DIR}/${LIKENTOR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${LIKENTOR_PACKAGING_DIR}/${LIKENTOR_APP_ID}.metainfo.xml.in
               ${LIKENTOR_GENERATED_DIR}/${LIKENTOR_APP_ID}.metainfo.xml @ONLY)
install(FILES ${LIKENTOR_GENERATED_DIR}/${LIKENTOR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the package's changelog, compressed as Debian wants them (no name or time
# stamp in the gzip header, so the package is the same from one build to the next).
find_program(GZIP_EXECUTABLE gzip REQUIRED)
configure_file(${LIKENTOR_PACKAGING_DIR}/likentor.1 ${LIKENTOR_GENERATED_DIR}/likentor.1 @ONLY)
configure_file(${LIKENTOR_PACKAGING_DIR}/debian/changelog.in ${LIKENTOR_GENERATED_DIR}/changelog
               @ONLY)
foreach(file likentor.1 changelog)
  add_custom_command(
    OUTPUT ${LIKENTOR_GENERATED_DIR}/${file}.gz
    COMMAND ${GZIP_EXECUTABLE} -9nfk ${file}
    DEPENDS ${LIKENTOR_GENERATED_DIR}/${file}
    WORKING_DIRECTORY ${LIKENTOR_GENERATED_DIR}
    VERBATIM)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${LIKENTOR_GENERATED_DIR}/likentor.1.gz
                                              ${LIKENTOR_GENERATED_DIR}/changelog.gz)
install(FILES ${LIKENTOR_GENERATED_DIR}/likentor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The window program's manual page is the program's: a link to it.
file(CREATE_LINK likentor.1.gz ${LIKENTOR_GENERATED_DIR}/likentor-window.1.gz SYMBOLIC)
install(FILES ${LIKENTOR_GENERATED_DIR}/likentor-window.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Its run-time dependencies are worked out from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME likentor)
set(CPACK_PACKAGE_VENDOR "The Likentor developers")
set(CPACK_PACKAGE_CONTACT "The Likentor developers <likentor@localhost.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lasting looks and portraits for a saved baseball league")
# One line of the description per line of the text: Debian wants them under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Likentor reads the exports of a baseball management game's saved league,
gives every player a lasting look and composes a 90 x 135 portrait of him in
his team's uniform, written into the saved game's picture folder. It has a
desktop window and a command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Debian wants the copyright file and the changelog in /usr/share/doc/<package>.
install(FILES ${LIKENTOR_PACKAGING_DIR}/debian/copyright ${LIKENTOR_GENERATED_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/likentor)
# The guide Help shows (built into the program), also to read without it.
install(FILES ${CMAKE_SOURCE_DIR}/docs/guide.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/likentor)
include(CPack)

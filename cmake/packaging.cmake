# SPDX-License-Identifier: MIT
# Installed as a desktop program: the binary and its manual page, the desktop
# entry, the metainfo a software centre reads, the MIME type of the scale file
# and the icons; the copyright and changelog that a Debian package carries.
# `cpack -G DEB` packs the same files.
include(GNUInstallDirs)
set(KELVO_ID org.kelvo.kelvo)
set(KELVO_CONTACT "kelvo developers <developers@kelvo.org>")
set(KELVO_DEBIAN_RELEASE 1)

install(TARGETS kelvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The workbook reader the program starts; found from bin/ as ../lib/kelvo/.
install(TARGETS kelvo-read-workbook RUNTIME DESTINATION lib/kelvo)
install(FILES data/${KELVO_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(data/${KELVO_ID}.metainfo.xml.in ${KELVO_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${KELVO_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/${KELVO_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${KELVO_ID}.xml)
install(FILES data/icons/kelvo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES data/icons/kelvo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kelvo.png)
endforeach()

# The changelog's latest entry names the version being built, or the build
# stops: the version is written in project() only, the changelog says what
# changed in it.
file(STRINGS packaging/changelog.Debian changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^kelvo \\(${PROJECT_VERSION}-${KELVO_DEBIAN_RELEASE}\\) ")
  message(FATAL_ERROR "packaging/changelog.Debian: the latest entry is not for "
                      "${PROJECT_VERSION}-${KELVO_DEBIAN_RELEASE}: ${changelog_top}")
endif()
# Compressed as Debian wants them: the most, with no file name or time stamp.
set(docs ${CMAKE_CURRENT_BINARY_DIR}/docs)
file(MAKE_DIRECTORY ${docs})
configure_file(data/kelvo.1.in ${docs}/kelvo.1 @ONLY)
configure_file(packaging/changelog.Debian ${docs}/changelog.Debian COPYONLY)
execute_process(COMMAND gzip -9nf kelvo.1 changelog.Debian WORKING_DIRECTORY ${docs}
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${docs}/kelvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${docs}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME kelvo)
# The compilers' version notes: stripping keeps them, and nothing reads them.
add_custom_command(TARGET kelvo POST_BUILD
                   COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:kelvo>)

# cpack -G DEB: a Debian package. The shared libraries' packages come from
# dpkg-shlibdeps; the Qt plugins it cannot see are named here (the X11
# platform plugin, TIFF and WebP), and the fonts the panel is designed in.
set(CPACK_PACKAGE_NAME kelvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KELVO_DEBIAN_RELEASE})
set(CPACK_PACKAGE_CONTACT ${KELVO_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measure lengths on pictures with a calibrated scale")
# Wrapped by hand: the package's description is shown as written.
set(CPACK_PACKAGE_DESCRIPTION "kelvo measures lengths on pictures, such as a microscope's or a
camera's. Calibrate a scale against a feature of known size, then measure
single lines or open chains of lines with the pointer: the horizontal,
vertical and total lengths are shown in your units. The picture can be
zoomed from 10% to 510%, shows a scale bar and can be saved with it as a
bitmap; the scale is kept in a small .kvo file; each result is written as a
row of an Excel 97-2003 workbook, saved after every row.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins (>= 6.4), qt6-image-formats-plugins (>= 6.4)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
include(CPack)

# Install rules and the Debian package: the two programs, the desktop entry,
# the icon, the AppStream metainfo, the default settings and the manual pages.

install(TARGETS quillcut-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quillcut)
  install(TARGETS quillcut RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(QC_APPID io.github.quillcut.Quillcut)
install(FILES ${CMAKE_SOURCE_DIR}/data/${QC_APPID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/${QC_APPID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(${CMAKE_SOURCE_DIR}/data/${QC_APPID}.metainfo.xml
  ${CMAKE_BINARY_DIR}/data/${QC_APPID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/data/${QC_APPID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QC_INSTALLED_INI} DESTINATION ${QC_DATADIR})

# Manual pages, compressed as Debian keeps them. The one of quillcut-cli is
# made from the program's own help texts, so new verbs and options appear
# in it by themselves.
set(QC_INSTALLED_DEFAULT /usr/${CMAKE_INSTALL_DATADIR}/quillcut/mp3qc.ini)
configure_file(${CMAKE_SOURCE_DIR}/data/quillcut.1 ${CMAKE_BINARY_DIR}/man/quillcut.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/quillcut-cli.1
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/manpage.sh $<TARGET_FILE:quillcut-cli> ${PROJECT_VERSION}
          ${CMAKE_BINARY_DIR}/man/quillcut-cli.1
  DEPENDS quillcut-cli ${CMAKE_SOURCE_DIR}/tools/manpage.sh VERBATIM)
set(QC_MANPAGES)
foreach(page quillcut.1 quillcut-cli.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/man/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page})
  list(APPEND QC_MANPAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(manpages ALL DEPENDS ${QC_MANPAGES})
install(FILES ${QC_MANPAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB in the build folder makes quillcut_VERSION_ARCH.deb.
set(CPACK_PACKAGE_NAME quillcut)
set(CPACK_PACKAGE_VENDOR "The Quillcut developers")
set(CPACK_PACKAGE_CONTACT "The Quillcut developers <quillcut@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trim MP3 files at the start and end without re-encoding")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillcut cuts whole frames from the start and the end of MPEG-1 Layer III files without decoding or re-encoding them, so what remains plays exactly like the same stretch of the original. It shows a file's structure (ID3v2 tag, RIFF header, frames by bitrate, ID3v1 tag, unknown data), proposes cuts with three silence detection methods, can drop tags and headers, and replaces a file in place safely. quillcut-cli does the same for scripts.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/quillcut/quillcut")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

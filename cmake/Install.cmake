# Install rules and the Debian package: the two programs, the desktop entry,
# the icon, the AppStream metainfo, the default settings, the manual pages,
# the copyright file and the changelog.

set(QC_PROGRAMS quillcut-cli)
if(TARGET quillcut)
  list(APPEND QC_PROGRAMS quillcut)
endif()
install(TARGETS ${QC_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (cpack, cmake --install --strip) also drops the
# compilers' .comment section, as Debian's own packages do.
foreach(program ${QC_PROGRAMS})
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\" COMMAND_ERROR_IS_FATAL ANY)
  endif()")
endforeach()

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
set(QC_INSTALLED_DEFAULT ${CMAKE_INSTALL_FULL_DATADIR}/quillcut/mp3qc.ini)
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

# share/doc/quillcut: the copyright file in Debian's machine-readable format,
# its licence text taken from LICENSE, and the changelog, compressed.
set(QC_CONTACT "The Quillcut developers <quillcut@users.noreply.github.com>")
set(QC_HOMEPAGE "https://github.com/quillcut/quillcut")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" found "${licence}")
set(QC_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${licence}" "Permission is hereby granted" from)
if(NOT QC_COPYRIGHT OR from LESS 0)
  message(FATAL_ERROR "LICENSE: no copyright line or no licence text")
endif()
# as a field's continuation lines: each indented, an empty line as " ."
string(SUBSTRING "${licence}" ${from} -1 licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " QC_LICENCE_TEXT " ${licence}")
set(QC_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quillcut)
configure_file(${CMAKE_SOURCE_DIR}/data/deb/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/data/deb/changelog > ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/deb/changelog)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${QC_DOCDIR})

# cpack -G DEB in the build folder makes quillcut_VERSION_ARCH.deb.
set(CPACK_PACKAGE_NAME quillcut)
set(CPACK_PACKAGE_VENDOR "The Quillcut developers")
set(CPACK_PACKAGE_CONTACT "${QC_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trim MP3 files at the start and end without re-encoding")
# The extended description as the control file shows it: lines of at most
# 79 characters, an empty line between paragraphs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Quillcut cuts whole frames from the start and the end of MPEG-1 Layer III"
  "(MP3) files without decoding or re-encoding them. By default the output"
  "decodes to exactly the kept audio: it gets a new Xing/LAME header with the"
  "right length, encoder delay and padding, and keeps the earlier frames whose"
  "bytes the first kept frame needs. A byte-for-byte copy of the kept frames"
  "is the other choice."
  ""
  "It shows a file's structure (ID3v2 tag, RIFF header, frames by bitrate,"
  "ID3v1 tag, unknown data), proposes cuts with three silence detection"
  "methods, can drop tags and headers, and replaces a file in place safely."
  "quillcut-cli does the same for scripts and batch work.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QC_HOMEPAGE}")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the fonts are what the windows are
# laid out with (metric stand-ins for the faces they name), and the SVG
# plugin loads the window icon (plugins are invisible to dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqt6svg6")
set(CPACK_STRIP_FILES ON)
# Read by cpack before it makes the package: refuses a package that would
# lack its library dependencies or name the wrong folders.
configure_file(${CMAKE_SOURCE_DIR}/cmake/PackageChecks.cmake.in ${CMAKE_BINARY_DIR}/PackageChecks.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/PackageChecks.cmake)
include(CPack)

# The packaged build: the program under /usr, its helpers in the package's own
# folders, the desktop entry, icons and AppStream metadata, and a .deb made by
# CPack (`cpack -G DEB` in the build folder; scripts/package does all of it).
#
# The folders below are the ones src/core/ProgramPaths.h expects relative to bin/.

# The project's identity in the desktop's and the software centre's eyes. The
# address (project(), the about dialog's link too) and the component id are
# placeholders until the project has a home of its own; the release date goes
# with the project version.
set(VELMORA_APP_ID "org.example.Velmora")
set(VELMORA_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(VELMORA_SCREENSHOT_URL "${PROJECT_HOMEPAGE_URL}screenshot-modes.png")
set(VELMORA_MAINTAINER "Velmora developers <velmora@example.org>")
set(VELMORA_COPYRIGHT "2026 Velmora developers")
set(VELMORA_LICENSE "LicenseRef-proprietary")
set(VELMORA_LICENSE_TEXT "All rights reserved.")
set(VELMORA_RELEASE_DATE "2026-12-10")
set(VELMORA_RELEASE_DATE_RFC2822 "Thu, 10 Dec 2026 12:00:00 +0000")

install(TARGETS velmora RUNTIME DESTINATION bin)
set(VELMORA_SYNC_DESTINATION libexec/velmora)
set(VELMORA_SOUND_DESTINATION libexec/velmora)
install(FILES ${VELMORA_HELP_PAGES} DESTINATION share/velmora/Help)
# The shipped language files, copied into each user's language folder at start.
if(VELMORA_LANG_FILES)
  install(FILES ${VELMORA_LANG_FILES} DESTINATION share/velmora/Lang)
endif()

set(pkg ${CMAKE_CURRENT_BINARY_DIR}/packaging)
configure_file(packaging/velmora.desktop.in ${pkg}/${VELMORA_APP_ID}.desktop @ONLY)
configure_file(packaging/velmora.metainfo.xml.in ${pkg}/${VELMORA_APP_ID}.metainfo.xml @ONLY)
configure_file(packaging/copyright.in ${pkg}/copyright @ONLY)
configure_file(packaging/changelog.in ${pkg}/changelog @ONLY)
configure_file(packaging/velmora.1.in ${pkg}/velmora.1 @ONLY)
install(FILES ${pkg}/${VELMORA_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${pkg}/${VELMORA_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${pkg}/copyright DESTINATION share/doc/velmora)

# Debian wants the changelog and the manual page compressed, without a time stamp
# in the gzip header.
foreach(doc changelog velmora.1)
  add_custom_command(OUTPUT ${pkg}/${doc}.gz
    COMMAND gzip -9 -n -c ${pkg}/${doc} > ${pkg}/${doc}.gz
    DEPENDS ${pkg}/${doc} VERBATIM)
endforeach()
# The 32-pixel icon is the 48-pixel clock icon scaled down.
add_custom_command(OUTPUT ${pkg}/velmora32.png
  COMMAND convert ${CMAKE_SOURCE_DIR}/resources/velmora48.png -resize 32x32 -strip
          PNG32:${pkg}/velmora32.png
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/velmora48.png VERBATIM)
add_custom_target(velmora_package_files ALL
  DEPENDS ${pkg}/changelog.gz ${pkg}/velmora.1.gz ${pkg}/velmora32.png)
install(FILES ${pkg}/changelog.gz DESTINATION share/doc/velmora)
install(FILES ${pkg}/velmora.1.gz DESTINATION share/man/man1)

set(icons share/icons/hicolor)
install(FILES resources/velmora16.png DESTINATION ${icons}/16x16/apps RENAME velmora.png)
install(FILES ${pkg}/velmora32.png DESTINATION ${icons}/32x32/apps RENAME velmora.png)
install(FILES resources/velmora48.png DESTINATION ${icons}/48x48/apps RENAME velmora.png)
install(FILES resources/velmora.svg DESTINATION ${icons}/scalable/apps)

# --- the .deb --------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELMORA_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small clock that lives on the desktop")
# CPack puts the summary first and indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmora is a borderless clock for the X11 desktop. It shows the date, a word
for the day of the week and the time, stays above all windows or at the
bottom of the stack, and offers an alarm, user commands, setting the clock
from a time server and language files.")
# The libraries come from dpkg-shlibdeps (SDL_mixer through the sound player);
# Qt's X11 platform plugin is loaded at run time, so nothing links it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Fonts for the texts of the shipped language files: Japanese (the default
# file) and simplified Chinese; the Latin ones are in every desktop's fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pkexec, xdg-utils, fonts-ipafont-gothic | fonts-noto-cjk, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

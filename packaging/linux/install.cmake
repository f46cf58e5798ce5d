# The Linux program's installation and Debian package: takes the tuvo target, the icons the
# artwork generator draws and the texts in this folder, and gives `cmake --install` rules
# (the program, its desktop entry, icons, manual page and documents) and CPack's .deb.
include(GNUInstallDirs)

set(tuvo_linux_dir ${CMAKE_CURRENT_LIST_DIR})
set(tuvo_linux_build ${CMAKE_BINARY_DIR}/packaging/linux)
set(tuvo_art_dir ${CMAKE_BINARY_DIR}/art)
set(tuvo_icon_sizes 16 32 48 256)

# The version lives in one place, the resource header the programs read.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/version.h tuvo_version_line
  REGEX "^#define TUVO_VERSION_TEXT \"[0-9.]+\"$")
string(REGEX REPLACE "^.*\"([0-9.]+)\"$" "\\1" tuvo_version "${tuvo_version_line}")
if(NOT tuvo_version)
  message(FATAL_ERROR "no TUVO_VERSION_TEXT in resources/version.h")
endif()

# Debian keeps manual pages and changelogs compressed, with no name or time stamp in the
# gzip header so that the same text always gives the same bytes.
find_program(TUVO_GZIP gzip REQUIRED)
# The manual page names the version: it is filled in here, at configure time.
configure_file(${tuvo_linux_dir}/tuvo.6 ${tuvo_linux_build}/plain/tuvo.6 @ONLY)
configure_file(${tuvo_linux_dir}/changelog ${tuvo_linux_build}/plain/changelog COPYONLY)
set(tuvo_gzipped)
foreach(name tuvo.6 changelog)
  set(output ${tuvo_linux_build}/${name}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${TUVO_GZIP} -9nc ${tuvo_linux_build}/plain/${name} > ${output}
    DEPENDS ${tuvo_linux_build}/plain/${name}
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND tuvo_gzipped ${output})
endforeach()
add_custom_target(linux_documents ALL DEPENDS ${tuvo_gzipped})

# Installed files are everyone's to read, directories everyone's to enter, whatever the
# umask of whoever builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(tuvo_file_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# A game's program goes into games/ (/usr/games in the package), which Debian and Ubuntu put
# on the PATH of ordinary users, not root's; the package's section says it is a game.
set(TUVO_INSTALL_BINDIR games CACHE STRING "Folder under the prefix for the tuvo program")
install(TARGETS tuvo RUNTIME DESTINATION ${TUVO_INSTALL_BINDIR})
install(FILES ${tuvo_linux_dir}/tuvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  PERMISSIONS ${tuvo_file_permissions})
foreach(size ${tuvo_icon_sizes})
  install(FILES ${tuvo_art_dir}/icon-${size}.png RENAME tuvo.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    PERMISSIONS ${tuvo_file_permissions})
endforeach()
install(FILES ${tuvo_linux_build}/tuvo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6
  PERMISSIONS ${tuvo_file_permissions})
install(FILES ${tuvo_linux_dir}/copyright ${tuvo_linux_dir}/README ${tuvo_linux_build}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR} PERMISSIONS ${tuvo_file_permissions})

# --- the Debian package: tuvo_VERSION_ARCH.deb ------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tuvo)
set(CPACK_PACKAGE_VERSION ${tuvo_version})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Tuvo authors <tuvo@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tuvo authors <tuvo@example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The menu and dialogs are in Chinese: without a CJK face every text in them is a row of
# empty boxes, so a face is a dependency like the libraries. dpkg-shlibdeps reads the
# libraries the stripped binary links and names their packages after it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
file(READ ${tuvo_linux_dir}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
include(CPack)

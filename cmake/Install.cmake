# Install rules and the Debian package.
#
# "cmake --install" puts the two programs in bin and the desktop files under
# share: the menu entry, the icon (SVG and PNGs drawn from it at build time),
# the file types, the thumbnailer, the AppStream metadata, the manual pages
# and the bash completion. "cpack -G DEB" in the build folder makes
# quarvel_<version>-1_<arch>.deb installing under /usr. The Debian triggers of
# shared-mime-info, desktop-file-utils, hicolor-icon-theme and man-db update
# their databases when the package goes in or out, so it has no maintainer
# scripts.

include(GNUInstallDirs)

set(QUARVEL_DIST_SOURCE "${PROJECT_SOURCE_DIR}/dist")
set(QUARVEL_DIST_BUILD "${PROJECT_BINARY_DIR}/dist")
set(QUARVEL_ICON_SIZES 16 22 24 32 48 64 128 256)
# Folders made by the install get the usual rights whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# A build-time helper: draws the PNG icons, and grabs the screen for the
# installed-program check. Never installed.
add_executable(quarvel-disttool "${QUARVEL_DIST_SOURCE}/disttool.cpp")
target_link_libraries(quarvel-disttool PRIVATE Qt6::Gui Qt6::Svg)

set(quarvel_dist_outputs)
foreach(size IN LISTS QUARVEL_ICON_SIZES)
  set(png "${QUARVEL_DIST_BUILD}/icons/${size}x${size}/quarvel.png")
  add_custom_command(
    OUTPUT "${png}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${QUARVEL_DIST_BUILD}/icons/${size}x${size}"
    # In a sanitizer build, what Qt keeps until exit must not fail the build.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:quarvel-disttool> icon "${QUARVEL_DIST_SOURCE}/icons/quarvel.svg" "${png}" ${size}
    DEPENDS quarvel-disttool "${QUARVEL_DIST_SOURCE}/icons/quarvel.svg"
    COMMENT "Drawing the ${size}x${size} icon"
    VERBATIM)
  list(APPEND quarvel_dist_outputs "${png}")
  install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()

# Manual pages and the Debian change log go in compressed, without time stamps,
# so that two builds make the same bytes.
configure_file("${QUARVEL_DIST_SOURCE}/debian/changelog.in" "${QUARVEL_DIST_BUILD}/changelog.Debian" @ONLY)
find_program(QUARVEL_GZIP gzip REQUIRED)
foreach(source IN ITEMS "${QUARVEL_DIST_SOURCE}/man/quarvel.1" "${QUARVEL_DIST_SOURCE}/man/quarvel-cli.1"
                        "${QUARVEL_DIST_BUILD}/changelog.Debian")
  get_filename_component(name "${source}" NAME)
  set(gz "${QUARVEL_DIST_BUILD}/${name}.gz")
  add_custom_command(
    OUTPUT "${gz}"
    COMMAND ${QUARVEL_GZIP} -9 -n -c "${source}" > "${gz}"
    DEPENDS "${source}"
    COMMENT "Compressing ${name}")
  list(APPEND quarvel_dist_outputs "${gz}")
endforeach()
add_custom_target(quarvel_dist ALL DEPENDS ${quarvel_dist_outputs})

install(TARGETS quarvel quarvel-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${QUARVEL_DIST_SOURCE}/quarvel.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${QUARVEL_DIST_SOURCE}/quarvel-mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME quarvel.xml)
install(FILES "${QUARVEL_DIST_SOURCE}/quarvel.thumbnailer"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/thumbnailers")
install(FILES "${QUARVEL_DIST_SOURCE}/icons/quarvel.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${QUARVEL_DIST_SOURCE}/io.github.quarvel.Quarvel.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${QUARVEL_DIST_BUILD}/quarvel.1.gz" "${QUARVEL_DIST_BUILD}/quarvel-cli.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${QUARVEL_DIST_SOURCE}/completion/quarvel-cli"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")
# GNUInstallDirs would name the documentation folder after the project
# ("Quarvel"); Debian wants the package's name.
set(QUARVEL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/quarvel")
install(FILES "${QUARVEL_DIST_SOURCE}/debian/copyright" "${QUARVEL_DIST_BUILD}/changelog.Debian.gz"
        DESTINATION "${QUARVEL_DOC_DIR}")
install(FILES "${QUARVEL_SAMPLE_LIBRARY}" DESTINATION "${QUARVEL_DOC_DIR}/examples")

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Quarvel team")
set(CPACK_PACKAGE_CONTACT "The Quarvel team <quarvel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "manager for AutoCAD slides and slide libraries")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quarvel.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds the libraries; these two are loaded at run time: the
# window system plug-ins and Qt's own translations of its standard dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
# The summary above is the first line; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Quarvel browses folders of AutoCAD slides (.sld, one vector picture each)
and slide libraries (.slb, many named slides in one file), shows the slide
names of a library beside the selected slide, adds and deletes slides,
exports slides as slide files or Windows metafiles, and builds new libraries
from slide files gathered from several folders. Its interface is in English
and Russian.
.
The command-line tool quarvel-cli does the same work for scripts, renders
slides as PNG, SVG, Windows metafile or DXF pictures, and draws the slide
thumbnails that file managers show.")
include(CPack)

# The Windows program folder: "ninja windows_dist" fills dist/Quarvel/ in the
# build folder with everything quarvel.exe needs, so that the folder runs as
# it is wherever it is copied (there is no windeployqt for this Qt):
#   quarvel.exe, quarvel-cli.exe, the sample library;
#   Qt's DLLs with the platform, style and image plug-ins beside them, and a
#   qt.conf that tells Qt to look there (and in translations/ for Qt's own
#   Russian texts, qtbase_ru.qm of Debian's qt6-translations-l10n, the same
#   Qt version);
#   the mingw-w64 run time (the C++ library, libgcc, winpthread);
#   the licence texts of Qt, and where its source comes from.

set(QUARVEL_WIN_DIST "${PROJECT_BINARY_DIR}/dist/Quarvel")
set(QUARVEL_QT_PREFIX "${QT6_INSTALL_PREFIX}")
set(QUARVEL_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Qt's translations (qt6-translations-l10n)")

# The run time of the compiler in use: its own folder, then the target's.
get_filename_component(gcc_version_dir
  "/usr/lib/gcc/x86_64-w64-mingw32/${CMAKE_CXX_COMPILER_VERSION}-posix" ABSOLUTE)
find_file(QUARVEL_LIBSTDCXX_DLL libstdc++-6.dll
  PATHS "${gcc_version_dir}" /usr/lib/gcc/x86_64-w64-mingw32/12-posix NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(QUARVEL_LIBGCC_DLL libgcc_s_seh-1.dll
  PATHS "${gcc_version_dir}" /usr/lib/gcc/x86_64-w64-mingw32/12-posix NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(QUARVEL_WINPTHREAD_DLL libwinpthread-1.dll
  PATHS /usr/x86_64-w64-mingw32/lib /usr/x86_64-w64-mingw32/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
foreach(dll IN ITEMS QUARVEL_LIBSTDCXX_DLL QUARVEL_LIBGCC_DLL QUARVEL_WINPTHREAD_DLL)
  if(NOT ${dll})
    message(FATAL_ERROR "The mingw-w64 run time (${dll}) is missing")
  endif()
endforeach()

set(dist_qt_dlls Qt6Core Qt6Gui Qt6Widgets)
set(dist_plugins platforms/qwindows styles/qwindowsvistastyle
                 imageformats/qico imageformats/qjpeg imageformats/qgif)
file(WRITE "${PROJECT_BINARY_DIR}/dist/qt.conf" "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
configure_file("${PROJECT_SOURCE_DIR}/dist/windows/README-Qt.txt" "${PROJECT_BINARY_DIR}/dist/README-Qt.txt" COPYONLY)

set(copy_commands)
foreach(dll IN LISTS dist_qt_dlls)
  list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different
       "${QUARVEL_QT_PREFIX}/bin/${dll}.dll" "${QUARVEL_WIN_DIST}/")
endforeach()
foreach(plugin IN LISTS dist_plugins)
  get_filename_component(folder "${plugin}" DIRECTORY)
  list(APPEND copy_commands
       COMMAND ${CMAKE_COMMAND} -E make_directory "${QUARVEL_WIN_DIST}/${folder}"
       COMMAND ${CMAKE_COMMAND} -E copy_if_different "${QUARVEL_QT_PREFIX}/plugins/${plugin}.dll"
               "${QUARVEL_WIN_DIST}/${folder}/")
endforeach()

# Made again only when a program or the sample changed: the setup program
# after it takes minutes to compress.
set(dist_stamp "${PROJECT_BINARY_DIR}/dist/Quarvel.stamp")
add_custom_command(
  OUTPUT "${dist_stamp}"
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${QUARVEL_WIN_DIST}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${QUARVEL_WIN_DIST}/translations"
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:quarvel> $<TARGET_FILE:quarvel-cli>
          "${QUARVEL_SAMPLE_LIBRARY}" "${PROJECT_BINARY_DIR}/dist/qt.conf" "${PROJECT_BINARY_DIR}/dist/README-Qt.txt"
          "${QUARVEL_LIBSTDCXX_DLL}" "${QUARVEL_LIBGCC_DLL}" "${QUARVEL_WINPTHREAD_DLL}" "${QUARVEL_WIN_DIST}/"
  ${copy_commands}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different "${QUARVEL_QT_TRANSLATIONS}/qtbase_ru.qm"
          "${QUARVEL_WIN_DIST}/translations/"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${QUARVEL_QT_PREFIX}/LICENSES" "${QUARVEL_WIN_DIST}/LICENSES/Qt"
  # The run time comes with its debugging symbols (23 MB for the C++ library).
  COMMAND ${CMAKE_STRIP} --strip-unneeded "${QUARVEL_WIN_DIST}/libstdc++-6.dll" "${QUARVEL_WIN_DIST}/libgcc_s_seh-1.dll"
          "${QUARVEL_WIN_DIST}/libwinpthread-1.dll" "${QUARVEL_WIN_DIST}/quarvel.exe" "${QUARVEL_WIN_DIST}/quarvel-cli.exe"
  COMMAND ${CMAKE_COMMAND} -E touch "${dist_stamp}"
  DEPENDS quarvel quarvel-cli "${QUARVEL_SAMPLE_LIBRARY}" "${PROJECT_SOURCE_DIR}/dist/windows/README-Qt.txt"
  COMMENT "Making the Windows program folder dist/Quarvel"
  VERBATIM)
add_custom_target(windows_dist ALL DEPENDS "${dist_stamp}")

# The setup program (NSIS) and the portable zip of the same folder, beside
# the build's other outputs: quarvel-<version>-setup.exe and
# quarvel-<version>-windows.zip.
find_program(QUARVEL_MAKENSIS makensis)
find_program(QUARVEL_ZIP zip)
if(QUARVEL_MAKENSIS AND QUARVEL_ZIP)
  set(setup "${PROJECT_BINARY_DIR}/quarvel-${PROJECT_VERSION}-setup.exe")
  set(portable "${PROJECT_BINARY_DIR}/quarvel-${PROJECT_VERSION}-windows.zip")
  add_custom_command(
    OUTPUT "${setup}" "${portable}"
    COMMAND ${QUARVEL_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DDIST=${QUARVEL_WIN_DIST}
            -DICON=${PROJECT_BINARY_DIR}/app/quarvel.ico -DOUTFILE=${setup} "${PROJECT_SOURCE_DIR}/dist/windows/quarvel.nsi"
    COMMAND ${CMAKE_COMMAND} -E rm -f "${portable}"
    COMMAND ${QUARVEL_ZIP} -q -r -X "${portable}" Quarvel
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}/dist"
    DEPENDS "${dist_stamp}" "${PROJECT_SOURCE_DIR}/dist/windows/quarvel.nsi"
    COMMENT "Making the setup program and the portable zip"
    VERBATIM)
  add_custom_target(windows_setup ALL DEPENDS "${setup}" "${portable}")
endif()

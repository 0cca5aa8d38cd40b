# The Windows installer and portable folder: `cpack -G NSIS` makes
# RSSFeedZolt-2.01-win64.exe (a per-machine install under Program Files with a
# Start-menu entry and an uninstaller), `cpack -G ZIP` RSSFeedZolt-2.01-win64.zip.
# Both hold one flat folder, as resellers ship it: the program, its updater,
# zolt-brand, feedreader.php, the runtime DLLs and plugins the program loads, and the demo
# brand; a reseller brands it by putting dbsettings.dat, banners and
# mainskin.dat beside rssfeedzolt.exe.
install(TARGETS rssfeedzolt Updater zolt-brand RUNTIME DESTINATION .)
set(shipped_binaries rssfeedzolt.exe Updater.exe zolt-brand.exe)
install(FILES ${PROJECT_SOURCE_DIR}/server/feedreader/feedreader.php DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/ DESTINATION demo PATTERN "desktop" EXCLUDE)

# MinGW's C++ runtime, where the compiler itself finds it.
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${dll} not found by ${CMAKE_CXX_COMPILER}")
  endif()
  install(FILES ${path} DESTINATION .)
  list(APPEND shipped_binaries ${dll})
endforeach()

# Qt: the four modules and the plugins a run loads (windows platform, the
# picture formats of banners and icons, the Windows style, TLS for the
# https update site). Qt looks for plugins in the program's folder.
foreach(module Core Gui Widgets Network)
  install(FILES ${QT6_INSTALL_PREFIX}/bin/Qt6${module}.dll DESTINATION .)
  list(APPEND shipped_binaries Qt6${module}.dll)
endforeach()
foreach(plugin platforms/qwindows imageformats/qgif imageformats/qico imageformats/qjpeg
               styles/qwindowsvistastyle tls/qschannelbackend)
  get_filename_component(folder ${plugin} DIRECTORY)
  install(FILES ${QT6_INSTALL_PREFIX}/plugins/${plugin}.dll DESTINATION ${folder})
  list(APPEND shipped_binaries ${plugin}.dll)
endforeach()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME RSSFeedZolt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "RSS Feed Zolt")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "write PHP code that shows live news and eBay feeds on web pages")
set(CPACK_PACKAGE_FILE_NAME RSSFeedZolt-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "RSS Feed Zolt")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY RSSFeedZolt)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Debian's NSIS stub is 32-bit by default; this makes a 64-bit installer.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "RSS Feed Zolt")
set(CPACK_NSIS_DISPLAY_NAME "RSS Feed Zolt ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/packaging/icons/rssfeedzolt.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/packaging/icons/rssfeedzolt.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME rssfeedzolt.exe)
set(CPACK_NSIS_MENU_LINKS rssfeedzolt.exe "RSS Feed Zolt")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# Shipped without symbols: they are half the size of the folder (libstdc++
# alone carries 22 MB of them) and no user's machine reads them. Only the
# files installed above are stripped, whatever else the prefix holds.
install(CODE "
  foreach(binary ${shipped_binaries})
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${binary}\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()")

include(CPack)

if(WIN32)
  include(cmake/WindowsPackage.cmake)
  return()
endif()

# Install layout and the .tar.gz. The program reads its brand files from its
# own folder, so bin/ is the bundle: a reseller puts dbsettings.dat,
# bannerN.dat, mainskin.dat and main.ico beside bin/rssfeedzolt.
install(FILES ${PROJECT_SOURCE_DIR}/demo/desktop/rssfeedzolt.desktop DESTINATION share/applications)
# The demo brand, as an example to start a brand of one's own from.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/ DESTINATION share/rssfeedzolt/demo USE_SOURCE_PERMISSIONS
        PATTERN "desktop" EXCLUDE)

include(cmake/DebPackage.cmake)

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME rssfeedzolt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "RSS Feed Zolt")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "write PHP code that shows live news and eBay feeds on web pages")
include(CPack)

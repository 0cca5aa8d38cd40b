# The Debian package: `cpack -G DEB` in a build folder makes
# rssfeedzolt_2.01_amd64.deb. The program and its brand files live in
# /usr/lib/rssfeedzolt (its program folder), /usr/bin/rssfeedzolt links to
# it; everything else goes where the folder install puts it under share/.
# The folder install's bin/rssfeedzolt (component "folder") stays out of
# the package, the package's own parts (component "deb") out of the folder
# install and the .tar.gz.
set(zolt_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(zolt_pkg_out ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(zolt_lib_dir lib/rssfeedzolt)

install(TARGETS rssfeedzolt RUNTIME DESTINATION ${zolt_lib_dir} COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${zolt_pkg}/installed-by-package DESTINATION ${zolt_lib_dir}
        COMPONENT deb EXCLUDE_FROM_ALL)
file(MAKE_DIRECTORY ${zolt_pkg_out})
file(CREATE_LINK ../${zolt_lib_dir}/rssfeedzolt ${zolt_pkg_out}/rssfeedzolt SYMBOLIC)
install(FILES ${zolt_pkg_out}/rssfeedzolt DESTINATION bin COMPONENT deb EXCLUDE_FROM_ALL)

# Icons, metainfo, manual pages, copyright and changelog serve both installs.
foreach(size 48 64 128 256)
  install(FILES ${zolt_pkg}/icons/rssfeedzolt-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME rssfeedzolt.png)
endforeach()
install(FILES ${zolt_pkg}/icons/rssfeedzolt.svg DESTINATION share/icons/hicolor/scalable/apps)
# The version in the metainfo, the changelog and the manual pages is the
# project's, filled in here: it is written once, in the top CMakeLists.txt.
foreach(doc com.rssfeedzolt.rssfeedzolt.metainfo.xml rssfeedzolt.1 zolt-brand.1 changelog)
  configure_file(${zolt_pkg}/${doc} ${zolt_pkg_out}/${doc} @ONLY)
endforeach()
install(FILES ${zolt_pkg_out}/com.rssfeedzolt.rssfeedzolt.metainfo.xml DESTINATION share/metainfo)
install(FILES ${zolt_pkg}/copyright DESTINATION share/doc/rssfeedzolt)
# Debian wants manual pages and the changelog compressed, without a time
# stamp in the gzip header so that builds are reproducible.
set(zolt_gz)
foreach(doc rssfeedzolt.1 zolt-brand.1 changelog)
  add_custom_command(OUTPUT ${zolt_pkg_out}/${doc}.gz
    COMMAND gzip -9nc ${zolt_pkg_out}/${doc} > ${zolt_pkg_out}/${doc}.gz
    DEPENDS ${zolt_pkg_out}/${doc} VERBATIM)
  list(APPEND zolt_gz ${zolt_pkg_out}/${doc}.gz)
endforeach()
add_custom_target(zolt_package_docs ALL DEPENDS ${zolt_gz})
install(FILES ${zolt_pkg_out}/rssfeedzolt.1.gz ${zolt_pkg_out}/zolt-brand.1.gz DESTINATION share/man/man1)
install(FILES ${zolt_pkg_out}/changelog.gz DESTINATION share/doc/rssfeedzolt)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified deb)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME rssfeedzolt)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "RSS Feed Zolt <support@rssfeedzolt.com>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.rssfeedzolt.com/")
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY (cmake/Packaging.cmake).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "RSS Feed Zolt writes short PHP snippets to paste into a page of a web site:
a news feed from an RSS address or a news search for a keyword, and a list
of eBay items for an affiliate campaign. The snippets call feedreader.php,
the PHP library that the site owner uploads beside the page.

The package holds the program, the reseller's settings tool zolt-brand,
the PHP side (feedreader.php and the reference news server) and a demo
brand. zolt-brand package makes a reseller's own branded package.")
# Libraries from the program's own links, not a list kept by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The snippet preview runs the generated code through PHP; the captions fit
# their design places in Liberation Sans (Arial metrics).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "php-cli, php-curl, php-xml, php-mbstring, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

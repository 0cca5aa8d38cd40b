# feedreader.php in a real browser: headless Chromium loads a page that PHP's
# web server builds from the tool's own snippets.
zolt_test(NAME feedreader_browser_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FeedreaderBrowserTest.cpp
  LIBS zolt_feeds)
if(TEST feedreader_browser_tests)
  set_tests_properties(feedreader_browser_tests PROPERTIES TIMEOUT 300)
endif()

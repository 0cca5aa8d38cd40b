zolt_test(NAME feeds_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FeedCodeTest.cpp ${CMAKE_CURRENT_LIST_DIR}/PhpSnippetTest.cpp
  LIBS zolt_feeds)

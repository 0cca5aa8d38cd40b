zolt_test(NAME news_update_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/UpdateCheckTest.cpp
  LIBS zolt_news)

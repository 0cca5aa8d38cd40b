zolt_test(NAME news_update_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/UpdateCheckTest.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/ScriptedHttpServer.cpp
  LIBS zolt_news)

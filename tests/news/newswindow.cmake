# The news window against the reference news server on 127.0.0.1.
zolt_test(NAME news_window_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/NewsWindowTest.cpp
  LIBS zolt_news_ui)

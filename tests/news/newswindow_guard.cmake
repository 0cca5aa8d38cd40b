# The news window while a page request waits, against a server that holds its reply.
zolt_test(NAME news_window_guard_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/NewsWindowGuardTest.cpp
  LIBS zolt_news_ui)

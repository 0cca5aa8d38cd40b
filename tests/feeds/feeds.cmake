zolt_test(NAME feeds_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FeedCodeTest.cpp ${CMAKE_CURRENT_LIST_DIR}/PhpSnippetTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/PreviewTest.cpp
  LIBS zolt_feeds)
zolt_test(NAME feeds_ui_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SimplePageTest.cpp ${CMAKE_CURRENT_LIST_DIR}/AdvancedPageTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/PageTestUtil.cpp ${CMAKE_CURRENT_LIST_DIR}/PageTestUtil.h
  LIBS zolt_feeds_ui GUI)
zolt_test(NAME feeds_mainwindow_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowPagesTest.cpp
  LIBS zolt_app GUI)

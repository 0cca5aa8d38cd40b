# "Preview" on both pages: php runs the snippet against feeds on 127.0.0.1.
zolt_test(NAME feeds_preview_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PreviewWindowTest.cpp
  LIBS zolt_app GUI)

zolt_test(NAME app_mainwindow_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp
  LIBS zolt_app)

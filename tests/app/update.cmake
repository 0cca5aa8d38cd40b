zolt_test(NAME app_update_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/UpdateButtonTest.cpp
  LIBS zolt_app)

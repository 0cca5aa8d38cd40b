zolt_test(NAME app_about_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AboutBoxTest.cpp
  LIBS zolt_app)

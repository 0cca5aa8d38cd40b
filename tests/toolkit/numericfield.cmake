zolt_test(NAME numericfield_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/NumericFieldTest.cpp
  LIBS zolt_toolkit GUI)

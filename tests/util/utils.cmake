zolt_test(NAME util_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/UUtilsTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TextTest.cpp ${CMAKE_CURRENT_LIST_DIR}/HtmlShapeTest.cpp LIBS zolt_util)

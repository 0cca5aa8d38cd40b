set(util_test_sources UUtilsTest.cpp TextTest.cpp HtmlShapeTest.cpp WindowsRulesTest.cpp
    SafeSaveTest.cpp)
list(TRANSFORM util_test_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
zolt_test(NAME util_tests SOURCES ${util_test_sources} LIBS zolt_util)

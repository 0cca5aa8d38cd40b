set(util_test_sources UUtilsTest.cpp TextTest.cpp HtmlShapeTest.cpp WindowsRulesTest.cpp)
if(NOT WIN32)
  # File modes and symbolic links as POSIX has them.
  list(APPEND util_test_sources SafeSaveTest.cpp)
endif()
list(TRANSFORM util_test_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
zolt_test(NAME util_tests SOURCES ${util_test_sources} LIBS zolt_util)

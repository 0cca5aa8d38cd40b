zolt_test(NAME util_ini_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/IniReaderTest.cpp LIBS zolt_util)

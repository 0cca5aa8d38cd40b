zolt_test(NAME settingsfile_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsFileCryptTest.cpp LIBS zolt_util)

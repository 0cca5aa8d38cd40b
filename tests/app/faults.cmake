# Faults from outside: damaged settings files, a read-only program folder,
# banners and skins that are not what they claim, misbehaving news servers.
zolt_test(NAME app_fault_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FaultTest.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/TestPictures.cpp
  LIBS zolt_app)

# The updater's checks, unpacking and swap, on the portable Linux folder's
# layout; the Windows program's round runs in tests/windows' smoke test.
if(NOT WIN32)
  zolt_test(NAME update_updater_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/UpdaterTest.cpp
    LIBS zolt_update_ui)
endif()

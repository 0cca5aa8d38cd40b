# The updater's checks, unpacking and swap, on the portable Linux folder's
# layout; the Windows program's round runs in tests/windows' smoke test.
if(NOT WIN32)
  zolt_test(NAME update_updater_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/UpdaterTest.cpp
    LIBS zolt_update_ui)
endif()

# The portable folder of this build updating itself with its real Updater.
# Not in the sanitizer build: nobody ships an instrumented folder.
if(NOT WIN32 AND NOT ZOLT_SANITIZE)
  add_test(NAME portable_update
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/portable_update_test.sh ${CMAKE_CPACK_COMMAND}
            ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR} $<TARGET_FILE:zolt-brand>)
  set_tests_properties(portable_update PROPERTIES TIMEOUT 600
    ENVIRONMENT "ZOLT_VERSION=${PROJECT_VERSION}")
endif()

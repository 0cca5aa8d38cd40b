# The Debian package and a reseller's branded package: validated, unpacked
# into a temporary root and started from there. Not in the sanitizer build:
# a package of an instrumented program is of no use to anyone.
if(NOT ZOLT_SANITIZE AND NOT WIN32)
  add_executable(mark_news_read ${CMAKE_CURRENT_LIST_DIR}/MarkNewsRead.cpp)
  target_link_libraries(mark_news_read PRIVATE zolt_news)
  add_test(NAME debian_package
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package_test.sh ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR}
            ${PROJECT_SOURCE_DIR} $<TARGET_FILE:zolt-brand> $<TARGET_FILE:mark_news_read>)
  set_tests_properties(debian_package PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77
    ENVIRONMENT "ZOLT_VERSION=${PROJECT_VERSION}")
endif()

# The id of the last news read, stored in the encrypted settings file; the
# crash test kills a writer process of its own at random moments.
add_executable(lastnewsid_writer ${CMAKE_CURRENT_LIST_DIR}/LastNewsIdWriter.cpp)
target_link_libraries(lastnewsid_writer PRIVATE zolt_news)

zolt_test(NAME news_lastnewsid_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LastNewsIdTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LastNewsIdCrashTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/UserStateTest.cpp
  LIBS zolt_news zolt_crypto)
target_compile_definitions(news_lastnewsid_tests PRIVATE
  LASTNEWSID_WRITER="$<TARGET_FILE:lastnewsid_writer>")
add_dependencies(news_lastnewsid_tests lastnewsid_writer)

zolt_test(NAME net_http_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HttpClientTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HttpClientWaitTest.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/ScriptedHttpServer.cpp
  LIBS zolt_net Qt6::Widgets
  GUI)

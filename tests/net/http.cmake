zolt_test(NAME net_http_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HttpClientTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HttpClientWaitTest.cpp
  LIBS zolt_net Qt6::Widgets
  GUI)

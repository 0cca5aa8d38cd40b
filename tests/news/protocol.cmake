zolt_test(NAME news_protocol_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/NewsReplyTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/NewsProtocolTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/NewsServerTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/FailureReasonTest.cpp
  LIBS zolt_news)

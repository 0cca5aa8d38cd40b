# The start-up news check and the news button, against the reference news
# server and a scripted update site on 127.0.0.1.
zolt_test(NAME news_notification_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/NotificationTest.cpp
  LIBS zolt_app)

# The shaped balloon hint of the toolkit, on the offscreen platform.
zolt_test(NAME toolkit_balloon_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BalloonHintTest.cpp
  LIBS zolt_toolkit GUI)

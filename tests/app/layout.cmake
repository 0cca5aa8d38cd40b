# Every window at its design places: captions fit, controls stay apart.
zolt_test(NAME app_layout_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LayoutTest.cpp
  LIBS zolt_app)

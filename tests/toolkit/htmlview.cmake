# The HTML view: resources a page may not load, pages too deep to lay out,
# links that may not reach the browser.
zolt_test(NAME toolkit_htmlview_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HtmlViewTest.cpp
  LIBS zolt_toolkit GUI)

zolt_test(NAME app_branding_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BrandingWindowTest.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/TestPictures.cpp
  LIBS zolt_app)

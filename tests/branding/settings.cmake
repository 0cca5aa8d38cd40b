zolt_test(NAME branding_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsTextTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/BrandContentTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/BrandSettingsFileTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/PackageUpdatesTest.cpp
  LIBS zolt_branding)

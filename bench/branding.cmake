# Start-up cost of branding: the main window with and without a settings file.
find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
add_executable(branding_bench ${CMAKE_CURRENT_LIST_DIR}/branding_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GuiBenchMain.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/TestPictures.cpp)
target_link_libraries(branding_bench PRIVATE zolt_app benchmark::benchmark Qt6::Test)

# Start-up of the program against a bare Qt window with an HTML view, timed
# from outside the process by startup_bench.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_include_directories(bare_window PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(bare_window PRIVATE Qt6::Widgets)
add_executable(startup_probe ${CMAKE_CURRENT_LIST_DIR}/startup_probe.cpp)
target_link_libraries(startup_probe PRIVATE zolt_app)
add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)

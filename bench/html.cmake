# Laying out hostile pages: the worst page under the HTML view's limits.
add_executable(html_bench ${CMAKE_CURRENT_LIST_DIR}/html_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/GuiBenchMain.cpp)
target_link_libraries(html_bench PRIVATE zolt_toolkit benchmark::benchmark)

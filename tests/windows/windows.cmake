# Helpers of the portable folder's smoke test (tests/windows/portable_smoke_test.sh),
# which scripts/windows runs under Wine on Xvfb.
# The window probe and the bare window are the start-up benchmark's tools
# (bench/windows-startup), which the smoke test borrows.
foreach(helper zolt-window-probe:${PROJECT_SOURCE_DIR}/bench/windows/WindowProbe
               zolt-fake-browser:${CMAKE_CURRENT_LIST_DIR}/FakeBrowser)
  string(REPLACE ":" ";" parts ${helper})
  list(GET parts 0 name)
  list(GET parts 1 source)
  add_executable(${name} ${source}.cpp)
  # Static runtime: the fake browser is started by the shell from anywhere.
  target_link_options(${name} PRIVATE -municode -static)
endforeach()
add_executable(zolt-bare-window ${PROJECT_SOURCE_DIR}/bench/windows/BareWindow.cpp)
target_include_directories(zolt-bare-window PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(zolt-bare-window PRIVATE Qt6::Widgets)
set_target_properties(zolt-bare-window PROPERTIES WIN32_EXECUTABLE ON)

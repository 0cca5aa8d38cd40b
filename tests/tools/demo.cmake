# The demo bundle assembled from the checked-in demo brand. The scripts check
# the Linux install layouts; the Windows build has its own smoke test.
if(WIN32)
  return()
endif()
add_test(NAME demo_bundle
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/demo_bundle_test.sh
          $<TARGET_FILE:rssfeedzolt> $<TARGET_FILE:zolt-brand> ${PROJECT_SOURCE_DIR})
add_test(NAME install_layout
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_layout_test.sh ${CMAKE_BINARY_DIR})

zolt_test(NAME tools_brand_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BrandToolTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/PackageTextTest.cpp ${PROJECT_SOURCE_DIR}/tools/PackageText.cpp
          ${PROJECT_SOURCE_DIR}/tools/PackageDocs.cpp ${PROJECT_SOURCE_DIR}/tools/PackageScripts.cpp
          ${PROJECT_SOURCE_DIR}/tools/InstallerScript.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/TestPictures.cpp
  LIBS zolt_branding Qt6::Gui)
target_compile_definitions(tools_brand_tests PRIVATE ZOLT_BRAND_TOOL="$<TARGET_FILE:zolt-brand>")
add_dependencies(tools_brand_tests zolt-brand)

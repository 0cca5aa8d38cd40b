# Project-wide compile flags: warnings everywhere, -Werror in CI, and an
# address/undefined sanitizer build that the test command runs as well.
add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor)
if(ZOLT_WERROR OR DEFINED ENV{CI})
  add_compile_options(-Werror)
endif()
# GCC 12 at -O3 (the Windows release build) reports overlapping copies inside
# libstdc++ for `"text" + std::string`, which cannot overlap (GCC bug 105329).
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
if(ZOLT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# zolt_library(NAME <target> SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per source folder (or per layer inside a folder).
function(zolt_library)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${ARG_NAME} STATIC ${ARG_SOURCES})
  target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# zolt_folder_library(NAME <target> DIR <folder> [PUBLIC_LIBS ...])
# A library of every source in one folder (not its subfolders), so that
# adding a file needs no edit here.
function(zolt_folder_library)
  cmake_parse_arguments(ARG "" "NAME;DIR" "PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.ui ${ARG_DIR}/*.qrc)
  file(GLOB units CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(units)
    zolt_library(NAME ${ARG_NAME} SOURCES ${sources} PUBLIC_LIBS ${ARG_PUBLIC_LIBS} PRIVATE_LIBS ${ARG_PRIVATE_LIBS})
  else()
    # Headers only so far.
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_PUBLIC_LIBS})
  endif()
endfunction()

# zolt_platform_files(<target> <file>...)
# The platform layer of a folder library: on Windows the named files, which
# hold the POSIX side, give way to every source in the folder's windows/.
function(zolt_platform_files target)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(dir ${target} SOURCE_DIR)
  get_target_property(sources ${target} SOURCES)
  foreach(file ${ARGN})
    list(REMOVE_ITEM sources ${dir}/${file})
  endforeach()
  file(GLOB windows CONFIGURE_DEPENDS ${dir}/windows/*.cpp ${dir}/windows/*.h)
  set_property(TARGET ${target} PROPERTY SOURCES ${sources} ${windows})
endfunction()

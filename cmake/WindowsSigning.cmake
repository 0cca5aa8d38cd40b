# Read by cpack (CPACK_PROJECT_CONFIG_FILE) for each Windows package it
# makes: with ZOLT_SIGN_PFX (a .pfx file with the code-signing certificate
# and its key) and ZOLT_SIGN_PASSWORD_FILE (a file holding its password) in
# the environment, the programs and libraries packed, the uninstaller and
# the installer are signed with Authenticode through osslsigncode;
# ZOLT_SIGN_TIMESTAMP names an RFC 3161 time stamp server. Without them the
# packages are unsigned, and this says so.
set(CPACK_ZOLT_SIGN_PFX "$ENV{ZOLT_SIGN_PFX}")
set(CPACK_ZOLT_SIGN_PASSWORD_FILE "$ENV{ZOLT_SIGN_PASSWORD_FILE}")
set(CPACK_ZOLT_SIGN_TIMESTAMP "$ENV{ZOLT_SIGN_TIMESTAMP}")
if(CPACK_ZOLT_SIGN_PFX STREQUAL "")
  message(STATUS "${CPACK_GENERATOR}: unsigned (set ZOLT_SIGN_PFX and ZOLT_SIGN_PASSWORD_FILE to sign)")
  return()
endif()
# The paths and the server go into the installer script's command line.
foreach(value CPACK_ZOLT_SIGN_PFX CPACK_ZOLT_SIGN_PASSWORD_FILE CPACK_ZOLT_SIGN_TIMESTAMP)
  if(NOT "${${value}}" MATCHES "^[A-Za-z0-9_./:+-]*$")
    message(FATAL_ERROR "${value} may hold letters, digits and ./:_+- only: ${${value}}")
  endif()
endforeach()
if(NOT EXISTS "${CPACK_ZOLT_SIGN_PFX}" OR NOT EXISTS "${CPACK_ZOLT_SIGN_PASSWORD_FILE}")
  message(FATAL_ERROR "ZOLT_SIGN_PFX and ZOLT_SIGN_PASSWORD_FILE must name existing files")
endif()
find_program(CPACK_ZOLT_OSSLSIGNCODE osslsigncode)
if(NOT CPACK_ZOLT_OSSLSIGNCODE)
  message(FATAL_ERROR "signing needs osslsigncode (the Debian package osslsigncode)")
endif()
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/SignWindowsFiles.cmake)
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/SignWindowsFiles.cmake)
  set(ts "")
  if(CPACK_ZOLT_SIGN_TIMESTAMP)
    set(ts " -ts ${CPACK_ZOLT_SIGN_TIMESTAMP}")
  endif()
  # The uninstaller that the installer writes, signed as makensis makes it.
  string(APPEND CPACK_NSIS_DEFINES "\n!uninstfinalize '\"${CPACK_ZOLT_OSSLSIGNCODE}\" sign -pkcs12 \"${CPACK_ZOLT_SIGN_PFX}\" -readpass \"${CPACK_ZOLT_SIGN_PASSWORD_FILE}\" -h sha256${ts} -in \"%1\" -out \"%1.signed\" && mv \"%1.signed\" \"%1\"' = 0")
endif()

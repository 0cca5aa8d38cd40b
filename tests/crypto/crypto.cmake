# OpenSSL serves only as the reference implementation of the randomised checks.
# Debian has no OpenSSL for MinGW: the Windows build checks its entropy and
# wiping through settingsfile_tests instead.
if(WIN32)
  return()
endif()
find_package(OpenSSL REQUIRED)
set(dir ${CMAKE_CURRENT_LIST_DIR})
zolt_test(NAME crypto_tests
  SOURCES ${dir}/CryptoTestUtil.cpp ${dir}/AesTest.cpp ${dir}/Sha1Test.cpp ${dir}/HmacTest.cpp
          ${dir}/Pbkdf2Test.cpp ${dir}/RandomPoolTest.cpp ${dir}/CryptContextTest.cpp
          ${dir}/EncryptionTest.cpp
  LIBS zolt_crypto OpenSSL::Crypto)

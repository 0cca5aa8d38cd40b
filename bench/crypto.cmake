# Settings-file encryption: ours next to OpenSSL (a benchmark-only dependency).
find_package(OpenSSL REQUIRED)
add_executable(crypto_bench ${CMAKE_CURRENT_LIST_DIR}/crypto_bench.cpp)
target_link_libraries(crypto_bench PRIVATE zolt_util zolt_crypto benchmark::benchmark
  OpenSSL::Crypto)

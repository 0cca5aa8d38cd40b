# Cross-builds Windows x86-64 programs with Debian's MinGW-w64 compilers.
# The posix-thread variants are used because std::thread and std::mutex need them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOLT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOLT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOLT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOLT_MINGW_TRIPLE}-windres)

# Libraries and headers come only from the MinGW sysroot and the folders named
# in CMAKE_PREFIX_PATH (the Qt built for Windows); programs run on the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZOLT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

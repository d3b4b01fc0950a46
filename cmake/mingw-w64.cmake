# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which
# std::thread needs). The Qt and GoogleTest built for that compiler are found through
# VELMARON_QT_MINGW and VELMARON_GTEST_MINGW (-D or the environment); scripts/build-windows.sh
# sets both.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw}-windres)
set(CMAKE_AR ${mingw}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${mingw}-ranlib CACHE FILEPATH "")

foreach(var VELMARON_QT_MINGW VELMARON_GTEST_MINGW)
  if(NOT DEFINED ${var})
    set(${var} $ENV{${var}})
  endif()
endforeach()
set(CMAKE_FIND_ROOT_PATH /usr/${mingw} ${VELMARON_QT_MINGW} ${VELMARON_GTEST_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# moc, rcc and uic come from the build machine's Qt of the same version.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# Test programs run through wine (scripts/wine-run.sh gives each run its platform, fonts and a
# time limit).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh CACHE STRING "")

# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compiler (g++-mingw-w64-x86-64-posix).
# The Qt built for Windows is named by CMAKE_PREFIX_PATH (scripts/windows.sh unpacks it); Qt's
# tools (moc, rcc) come from the build machine's Qt, named by QT_HOST_PATH.
# The tests run through wine64 (cmake/wine-run.sh), so that ctest runs them as on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BREVANT_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BREVANT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BREVANT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BREVANT_MINGW_TRIPLET}-windres)

# Libraries, headers and CMake packages come from the Windows Qt and the MinGW system root only;
# programs (the host's moc and rcc) from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH} /usr/${BREVANT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)

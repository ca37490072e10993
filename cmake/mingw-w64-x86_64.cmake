# Windows x86-64 cross build with mingw-w64. The -posix compilers carry
# std::thread; the default win32 thread model does not. Test programs run
# under Wine through the emulator below (CMake 3.25 takes it from here, not
# from the environment).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)

# What both MinGW-w64 toolchain files share (posix threads); each sets
# CMAKE_SYSTEM_PROCESSOR first, which names the compilers and their root.
set(CMAKE_SYSTEM_NAME Windows)
set(mq_mingw ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${mq_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mq_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mq_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mq_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static, so the programs need no MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

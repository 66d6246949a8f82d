# Cross-builds the sources for 64-bit Windows with MinGW-w64: the build the
# Windows tests run where this machine cannot run 32-bit code itself.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

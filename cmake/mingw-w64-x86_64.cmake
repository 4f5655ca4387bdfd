# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# ctest runs the resulting .exe files under Wine through scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRELLANE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRELLANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELLANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELLANE_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TRELLANE_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TRELLANE_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${TRELLANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries go into each .exe, so it runs on a clean Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

get_filename_component(TRELLANE_TOOLCHAIN_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${TRELLANE_TOOLCHAIN_ROOT}/scripts/wine-run.sh")

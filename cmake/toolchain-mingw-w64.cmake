# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), the
# tests run under wine. Used by scripts/test-windows:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMORA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW}-windres)

# Only mingw's own headers and libraries; the host's /usr/include must never
# come before them. The header-only libraries the tool uses come in through
# the small package files in cmake/windows.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/windows CACHE PATH "")
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/windows CACHE PATH "")

# One self-contained .exe: no libstdc++, libgcc or winpthread DLLs to carry.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest starts the tests through wine; wine shows the Linux root as drive Z:,
# which the tests put in front of the build's absolute paths.
find_program(VELMORA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMORA_WINE})
set(VELMORA_TEST_DRIVE "Z:")

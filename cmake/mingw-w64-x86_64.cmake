# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the posix thread
# variant, whose std::thread and std::mutex need no extra library). Programs
# are linked statically so that no DLL has to travel beside them, and CTest
# runs them through wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Wine gets a prefix of its own inside the build folder, so that the tests
# never touch a user's ~/.wine and `wineserver -k` there stops only theirs.
# Without Mono and Gecko, creating the prefix asks nothing.
find_program(MURMEX_WINE wine REQUIRED)
set(MURMEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${MURMEX_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    ${MURMEX_WINE})

# GoogleTest for a cross build, compiled from Debian's sources in
# /usr/src/googletest with the target's compiler; its own build names the
# targets GTest::gtest and GTest::gtest_main, as find_package(GTest) does.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# Discovery runs each test binary under the emulator; at test time, not at
# build time, so a build needs no wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

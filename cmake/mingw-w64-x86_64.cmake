# Cross build for 64-bit Windows with Debian's mingw-w64; programs and tests
# run under Wine through scripts/wine-run.sh (packages: scripts/setup-windows.sh).
#
#   cmake --preset windows && cmake --build --preset windows && ctest --preset windows
#
# The -posix compilers: the default (-win32) thread model has no std::mutex
# or std::thread. Everything is linked statically, so the .exe files need no
# libstdc++/libgcc/libwinpthread DLLs beside them, under Wine or on Windows.
# Resource scripts compile with windres once the project enables RC
# (`enable_language(RC)`) and lists the .rc among a target's sources; a script
# that uses style names needs `#include <windows.h>` and `<commctrl.h>`.
#
# For CTest:
# - add_test(COMMAND some_target) and gtest_discover_tests run the .exe
#   through the emulator below. Discovery (`--gtest_list_tests`) takes 0.3 to
#   0.6 s a binary; the very first one also makes the Wine prefix (10 to 25 s).
#   Its CR LF output is read correctly.
# - Every discovered test is one Wine process (0.1 to 0.3 s each, 150 tests
#   about 16 s at -j2); one CTest test running the whole binary takes 0.3 s.
# - Stop Wine after the run with a cleanup fixture:
#     add_test(NAME wine_down COMMAND ${TW_WINE_RUN} ${CMAKE_BINARY_DIR}/wine --down)
#     set_tests_properties(wine_down PROPERTIES FIXTURES_CLEANUP wine)
#   and FIXTURES_REQUIRED wine on the Wine tests; `--fresh` instead of `--down`
#   also puts the prefix's registry back as it was after `wineboot -i`.
# - Inside Wine, paths are Windows paths: the Unix root is drive Z:, so a
#   path handed over at build time is spelled "Z:${CMAKE_BINARY_DIR}/...".
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TW_MINGW}-windres)
set(CMAKE_AR ${TW_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TW_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${TW_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The Wine prefix, server and Xvfb of this build live in its folder.
get_filename_component(TW_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TW_WINE_RUN} ${CMAKE_BINARY_DIR}/wine)

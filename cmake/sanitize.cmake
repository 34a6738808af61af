# Sanitizer instrumentation for the whole build; included before any target
# is made, so that the libraries, the programs and the tests all carry it.
#
# TUNEWRIGHT_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer, the
# first fault ends the program that hit it (the `sanitize` preset, GCC or
# Clang). TUNEWRIGHT_FUZZ: the same plus libFuzzer's coverage instrumentation,
# for the fuzz targets in fuzz/ (the `fuzz` preset, Clang only).
option(TUNEWRIGHT_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TUNEWRIGHT_FUZZ "Build the libFuzzer targets in fuzz/ (Clang only, sanitizers included)" OFF)

if(TUNEWRIGHT_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "TUNEWRIGHT_FUZZ needs Clang for libFuzzer; this build uses ${CMAKE_CXX_COMPILER_ID}")
endif()

if(TUNEWRIGHT_SANITIZE OR TUNEWRIGHT_FUZZ)
  # -O1 keeps the instrumented programs quick enough for the end-to-end tests
  # and still gives exact stacks; line tables alone (-g1) are all a report
  # needs and halve the compile time. The library's own checks catch an index
  # out of a container's range, which ASan cannot see inside a container's
  # capacity.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -O1 -g1 -D_GLIBCXX_ASSERTIONS)
  add_link_options(-fsanitize=address,undefined)
  if(TUNEWRIGHT_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

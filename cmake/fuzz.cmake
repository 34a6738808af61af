# The libFuzzer targets in fuzz/, one per reader of outside input, and their
# short runs as CTest tests (the `fuzz` preset; instrumentation comes from
# cmake/sanitize.cmake). fuzz/run.sh runs a target: seeds from
# fuzz/corpus/<name>, new inputs to <work>/corpus/<name>, findings to
# <work>/findings/<name>/. The short runs work in <build>/short and start
# from the seeds alone each time; the long run keeps <build>/corpus.
if(NOT TUNEWRIGHT_FUZZ)
  return()
endif()

set(TUNEWRIGHT_FUZZ_SECONDS 5 CACHE STRING "How long each fuzz target runs as a CTest test")
set(TUNEWRIGHT_FUZZ_TARGETS regstore regimport settings translation catalogue key_decoder cp1252 resource_script program)

enable_testing()
add_custom_target(fuzz_targets)
foreach(name ${TUNEWRIGHT_FUZZ_TARGETS})
  add_executable(fuzz_${name} ${CMAKE_SOURCE_DIR}/fuzz/${name}_fuzz.cpp)
  target_link_libraries(fuzz_${name} PRIVATE tw_app tw_headless tw_terminal)
  target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz ${CMAKE_SOURCE_DIR}/tests)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  tunewright_warnings(fuzz_${name})
  add_dependencies(fuzz_targets fuzz_${name})

  add_test(NAME fuzz_${name}
    COMMAND bash ${CMAKE_SOURCE_DIR}/fuzz/run.sh --fresh $<TARGET_FILE:fuzz_${name}> ${name}
            ${TUNEWRIGHT_FUZZ_SECONDS} ${CMAKE_BINARY_DIR}/short)
  set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT 120)
endforeach()

# Fuzz harnesses: tests/fuzz/fuzz_*.cpp, one program each. With clang and libFuzzer they are
# fuzzers (configure a separate build with CMAKE_CXX_COMPILER=clang++ and VELMORA_TESTS=OFF);
# with another compiler they link a driver that replays the files named on the command line.
option(VELMORA_FUZZ "Build the fuzz harnesses" OFF)
if(NOT VELMORA_FUZZ)
  return()
endif()

set(VELMORA_LIBFUZZER OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] VELMORA_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  set(VELMORA_LIBFUZZER ${VELMORA_HAVE_LIBFUZZER})

  # clang stores narrow literals only as UTF-8; no scanner under fuzzing depends on them.
  get_target_property(velmora_fuzz_options velmora_options INTERFACE_COMPILE_OPTIONS)
  list(FILTER velmora_fuzz_options EXCLUDE REGEX "fexec-charset")
  set_property(TARGET velmora_options PROPERTY INTERFACE_COMPILE_OPTIONS ${velmora_fuzz_options})
  if(VELMORA_LIBFUZZER)
    # Coverage for the whole core, so the fuzzer sees the branches of the code it calls.
    target_compile_options(velmora_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                     -fno-omit-frame-pointer)
    # Every program of this build links the instrumented core, velmora-convert too: each needs
    # the sanitizer runtime, not only the harnesses.
    target_link_options(velmora_options INTERFACE -fsanitize=address,undefined)
  endif()
endif()

file(GLOB VELMORA_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
# The window side of the platform seam, silent; the harnesses that run the driver need it.
set(VELMORA_FUZZ_WINDOW ${CMAKE_SOURCE_DIR}/tests/fuzz/silent_window.cpp)
foreach(source ${VELMORA_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  if(VELMORA_LIBFUZZER)
    add_executable(${name} ${source} ${VELMORA_FUZZ_WINDOW})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  else()
    add_executable(${name} ${source} ${VELMORA_FUZZ_WINDOW} ${CMAKE_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE velmora_core)
  if(name STREQUAL "fuzz_convert")
    target_compile_definitions(${name} PRIVATE VELMORA_SXF_PATH="${CMAKE_SOURCE_DIR}/data/JWsxf.dat")
  endif()
  # In a test build the replayer runs the real-world corpus through the harness.
  if(VELMORA_TESTS AND NOT VELMORA_LIBFUZZER)
    file(GLOB velmora_corpus_files ${VELMORA_TEST_DATA_DIR}/corpus/*.pdf)
    if(velmora_corpus_files)
      add_test(NAME ${name}_corpus COMMAND ${name} ${velmora_corpus_files})
    endif()
    # Every input that once crashed, hung or ran away stays replayed through the whole conversion.
    if(name STREQUAL "fuzz_convert")
      file(GLOB velmora_regression_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/regressions/*)
      add_test(NAME ${name}_regressions COMMAND ${name} ${velmora_regression_files})
    endif()
  endif()
endforeach()

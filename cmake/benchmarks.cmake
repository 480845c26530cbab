# Benchmark tools (Google Benchmark): every benchmarks/*.cpp joins one program,
# velmora_benchmarks. Speed is read from these runs, never asserted by a test.
option(VELMORA_BENCHMARKS "Build the benchmark tools" OFF)
if(NOT VELMORA_BENCHMARKS)
  return()
endif()

find_package(benchmark REQUIRED)
file(GLOB VELMORA_BENCHMARK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/benchmarks/*.cpp)
add_executable(velmora_benchmarks ${VELMORA_BENCHMARK_SOURCES})
target_link_libraries(velmora_benchmarks PRIVATE velmora_core velmora_ui_console velmora_os
                                                 velmora_process benchmark::benchmark_main)
target_compile_features(velmora_benchmarks PRIVATE cxx_std_20)
target_compile_definitions(velmora_benchmarks PRIVATE VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                                      VELMORA_TEST_DATA_DIR="${VELMORA_TEST_DATA_DIR}")

# GoogleTest from Debian's sources, built with our compiler (and sanitizers) for every build.
set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(VELMORA_SANITIZE)
  target_compile_options(gtest PRIVATE -fsanitize=address,undefined)
  target_compile_options(gtest_main PRIVATE -fsanitize=address,undefined)
endif()


file(GLOB VELMORA_TEST_SOURCES CONFIGURE_DEPENDS tests/*/*.cpp)
list(FILTER VELMORA_TEST_SOURCES EXCLUDE REGEX "/tests/(fuzz|win32|e2e|independent)/")
add_executable(velmora_tests ${VELMORA_TEST_SOURCES})
target_include_directories(velmora_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(velmora_tests PRIVATE VELMORA_TEST_DATA_DIR="${VELMORA_TEST_DATA_DIR}"
                                                 VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(velmora_tests PRIVATE velmora_cli velmora_app velmora_core velmora_ui_test velmora_os gtest_main)

# One ctest entry per binary: under Wine every start costs seconds.
add_test(NAME unit_tests COMMAND velmora_tests --gtest_brief=1)

# The tests' strict JWW reader as a program, for the shell tests that check written files.
add_executable(jww_check tests/e2e/jww_check.cpp tests/support/jww_reader.cpp)
target_include_directories(jww_check PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(jww_check PRIVATE velmora_options)

# velmora-convert from the outside (natively; the Windows build runs the unit tests only).
if(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME cli_end_to_end
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/cli_test.sh $<TARGET_FILE:velmora-convert> ${CMAKE_SOURCE_DIR}
                   $<TARGET_FILE:jww_check>)
  # The real-world corpus: the direct route on every file, Ghostscript on a few it cannot read.
  add_test(NAME corpus_end_to_end
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/corpus_test.sh $<TARGET_FILE:velmora-convert> $<TARGET_FILE:jww_check>
                   ${VELMORA_TEST_DATA_DIR}/corpus ${CMAKE_SOURCE_DIR}/tests/e2e/corpus_direct.txt)
  # Per corpus file, the share of pdftotext's characters among our texts stays at its stored figure.
  add_test(NAME corpus_text_coverage
           COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/text_coverage.py --check ${CMAKE_SOURCE_DIR}/tests/e2e/text_coverage.tsv
                   $<TARGET_FILE:velmora-convert> ${VELMORA_TEST_DATA_DIR}/corpus)
  set_tests_properties(corpus_text_coverage PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77)
  set_tests_properties(corpus_end_to_end PROPERTIES TIMEOUT 900 SKIP_RETURN_CODE 77 ENVIRONMENT
    "VELMORA_GS_FILES=0:hybrid_xref_01.pdf 0:jp_predef_cmap_01.pdf 0:autocad_mech_drawing_01.pdf 0:kicad_schematic_03.pdf 0:truetype_winansi_nonembedded_01.pdf 2:encrypted_aes256_r6_01.pdf 2:encrypted_libreoffice_01.pdf 2:damaged_cairo_xref_01.pdf")
endif()

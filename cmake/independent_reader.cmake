# LibreCAD's JWW reader (jwwlib) as a second, independent reader of the files we write. Only the
# tests build it, from the sources scripts/fetch_jwwlib.sh fetches: pass their folder as
# -DVELMORA_JWWLIB_DIR=... . It is never linked into our programs.
if(VELMORA_JWWLIB_DIR AND NOT CMAKE_CROSSCOMPILING)
  foreach(source dl_jww.cpp jwwdoc.cpp dl_writer_ascii.cpp dl_jww.h jwwdoc.h)
    if(NOT EXISTS ${VELMORA_JWWLIB_DIR}/${source})
      message(FATAL_ERROR "VELMORA_JWWLIB_DIR=${VELMORA_JWWLIB_DIR} has no ${source}; run scripts/fetch_jwwlib.sh")
    endif()
  endforeach()
  # Their code as it comes: its own warnings are not ours to fix.
  add_library(velmora_jwwlib STATIC ${VELMORA_JWWLIB_DIR}/dl_jww.cpp ${VELMORA_JWWLIB_DIR}/jwwdoc.cpp
                                    ${VELMORA_JWWLIB_DIR}/dl_writer_ascii.cpp)
  target_include_directories(velmora_jwwlib SYSTEM PUBLIC ${VELMORA_JWWLIB_DIR})
  target_compile_options(velmora_jwwlib PRIVATE -w)
  add_executable(jww_libre_check tests/independent/jww_libre_check.cpp)
  target_compile_options(jww_libre_check PRIVATE -Wall -Wextra -Wshadow)
  target_link_libraries(jww_libre_check PRIVATE velmora_jwwlib)
endif()

# Pages written straight through the save functions (texts, the long tag and count forms), for
# the same check; it needs only our own code, so it builds with the tests.
if(VELMORA_TESTS AND NOT CMAKE_CROSSCOMPILING)
  add_executable(jww_write_pages tests/independent/jww_write_pages.cpp)
  target_link_libraries(jww_write_pages PRIVATE velmora_core velmora_ui_console velmora_os velmora_process)
  target_include_directories(jww_write_pages PRIVATE ${CMAKE_SOURCE_DIR}/tests)
endif()

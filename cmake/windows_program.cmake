# Velmora.exe: the Win32 desktop program, statically linked so it imports only system DLLs.

# The GUI half of the platform seam.
add_library(velmora_ui_win32 STATIC src/platform/ui_win32.cpp src/platform/password_box_win32.cpp)
target_link_libraries(velmora_ui_win32 PUBLIC velmora_os gdi32 user32)

# Resources go into an OBJECT library: the linker drops unreferenced .rsrc objects of a static one.
add_library(velmora_resources OBJECT src/app/win32/velmora.rc)
target_include_directories(velmora_resources PRIVATE ${CMAKE_BINARY_DIR}/generated)
set(VELMORA_RESOURCE_FILES velmora.ico toolbar.bmp cursor_area.cur cursor_undo.cur cursor_redo.cur layer_dialog.rc
                            version_info.rc ../control_ids.h)
list(TRANSFORM VELMORA_RESOURCE_FILES PREPEND ${CMAKE_SOURCE_DIR}/src/app/win32/)
list(APPEND VELMORA_RESOURCE_FILES ${CMAKE_BINARY_DIR}/generated/velmora_version.h)
set_source_files_properties(src/app/win32/velmora.rc PROPERTIES OBJECT_DEPENDS "${VELMORA_RESOURCE_FILES}")
# velmora-convert.exe's icon and version resource.
add_library(velmora_convert_resources OBJECT src/app/win32/convert_resources.rc)
target_include_directories(velmora_convert_resources PRIVATE ${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(src/app/win32/convert_resources.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/app/win32/velmora.ico;${CMAKE_SOURCE_DIR}/src/app/win32/version_info.rc;${CMAKE_BINARY_DIR}/generated/velmora_version.h")
target_sources(velmora-convert PRIVATE $<TARGET_OBJECTS:velmora_convert_resources>)

file(GLOB VELMORA_WIN32_SOURCES CONFIGURE_DEPENDS src/app/win32/*.cpp)
add_executable(Velmora WIN32 ${VELMORA_WIN32_SOURCES} $<TARGET_OBJECTS:velmora_resources>)
target_link_options(Velmora PRIVATE -mwindows)
target_link_libraries(Velmora PRIVATE
  velmora_app velmora_core velmora_ui_win32 velmora_os velmora_process
  user32 gdi32 comctl32 comdlg32 shell32 kernel32)

# Test equipment, never shipped: drives the running window under Wine for the GUI tests.
if(VELMORA_TESTS)
  # Both programs' version resources read back from the built files (no Wine needed).
  add_test(NAME version_resources
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/win32/check_version.py ${PROJECT_VERSION}
                   $<TARGET_FILE:Velmora> $<TARGET_FILE:velmora-convert>)
  add_executable(velmora_gui_probe tests/win32/gui_probe.cpp)
  target_compile_options(velmora_gui_probe PRIVATE -Wall -Wextra)
  target_link_options(velmora_gui_probe PRIVATE -static)
  target_link_libraries(velmora_gui_probe PRIVATE user32 comctl32 shell32 kernel32)
endif()

# Velmora.exe: the Win32 desktop program, statically linked so it imports only system DLLs.

# The GUI half of the platform seam.
add_library(velmora_ui_win32 STATIC src/platform/ui_win32.cpp)
target_link_libraries(velmora_ui_win32 PUBLIC velmora_os gdi32 user32)

# Resources go into an OBJECT library: the linker drops unreferenced .rsrc objects of a static one.
add_library(velmora_resources OBJECT src/app/win32/velmora.rc)
set(VELMORA_RESOURCE_FILES velmora.ico toolbar.bmp cursor_area.cur cursor_undo.cur cursor_redo.cur layer_dialog.rc
                            ../control_ids.h)
list(TRANSFORM VELMORA_RESOURCE_FILES PREPEND ${CMAKE_SOURCE_DIR}/src/app/win32/)
set_source_files_properties(src/app/win32/velmora.rc PROPERTIES OBJECT_DEPENDS "${VELMORA_RESOURCE_FILES}")

file(GLOB VELMORA_WIN32_SOURCES CONFIGURE_DEPENDS src/app/win32/*.cpp)
add_executable(Velmora WIN32 ${VELMORA_WIN32_SOURCES} $<TARGET_OBJECTS:velmora_resources>)
target_link_options(Velmora PRIVATE -mwindows)
target_link_libraries(Velmora PRIVATE
  velmora_app velmora_core velmora_ui_win32 velmora_os velmora_process
  user32 gdi32 comctl32 comdlg32 shell32 kernel32)

# Test equipment, never shipped: drives the running window under Wine for the GUI tests.
if(VELMORA_TESTS)
  add_executable(velmora_gui_probe tests/win32/gui_probe.cpp)
  target_compile_options(velmora_gui_probe PRIVATE -Wall -Wextra)
  target_link_options(velmora_gui_probe PRIVATE -static)
  target_link_libraries(velmora_gui_probe PRIVATE user32 comctl32 shell32 kernel32)
endif()

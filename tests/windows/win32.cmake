# The Win32 window system and the Windows skin library, under Wine.
zonvex_test(win32_windows_test win32_windows_test.cpp LIBS zonvex_win32_windows)
zonvex_test(win32_skin_library_test win32_skin_library_test.cpp LIBS zonvex_win32_windows zonvex_skin_format)
target_compile_definitions(win32_skin_library_test PRIVATE ZONVEX_SKIN_LIBRARY="$<TARGET_FILE:zonvex_skin_library>")
add_dependencies(win32_skin_library_test zonvex_skin_library)
# Window tests look for their helpers beside them ("windows/...").
target_include_directories(win32_windows_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_include_directories(win32_skin_library_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)

# Not a test: writes pictures of the windows and a message box (scripts/screenshots).
add_executable(win32_screenshots win32_screenshots.cpp)
target_link_libraries(win32_screenshots PRIVATE zonvex_test_support zonvex_win32_windows)
target_compile_definitions(win32_screenshots PRIVATE ZONVEX_SAMPLE_PAGES="${PROJECT_SOURCE_DIR}/samples/pages"
  ZONVEX_SKIN_LIBRARY="$<TARGET_FILE:zonvex_skin_library>")
add_dependencies(win32_screenshots zonvex_skin_library)

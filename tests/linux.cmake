# The Linux build's own tests: the Wine-convention services on real files, processes and
# pages, the Qt windows, the skin library, and the real program end to end.
zonvex_test(platform_test platform/web_address_test.cpp platform/host_paths_test.cpp platform/wine_registry_test.cpp platform/wine_prefixes_test.cpp
            platform/proc_processes_test.cpp platform/launcher_test.cpp platform/replace_all_test.cpp
            platform/unreadable_files_test.cpp
            LIBS zonvex_platform)
zonvex_test(qt_windows_test app/qt_windows_test.cpp support/qt_test_main.cpp LIBS zonvex_platform_qt Qt6::Test)

# Not a test: writes pictures of the windows for people to look at (scripts/screenshots).
add_executable(zonvex_screenshots tools/screenshots.cpp)
target_link_libraries(zonvex_screenshots PRIVATE zonvex_test_support zonvex_platform_qt Qt6::Test)
target_compile_definitions(zonvex_screenshots PRIVATE ZONVEX_SAMPLE_PAGES="${PROJECT_SOURCE_DIR}/samples/pages"
  ZONVEX_SKIN_LIBRARY="$<TARGET_FILE:zonvex_skin_library>")

zonvex_test(fault_injection_test client_config/fault_injection_test.cpp LIBS zonvex_platform)
zonvex_test(real_installation_test client_config/real_installation_test.cpp LIBS zonvex_platform)
zonvex_test(page_reading_test bulletins/page_reading_test.cpp LIBS zonvex_platform PkgConfig::HTTPLIB)
zonvex_test(speech_test platform/speech_test.cpp LIBS zonvex_platform)
zonvex_test(http_test platform/curl_http_test.cpp LIBS zonvex_platform PkgConfig::HTTPLIB ZLIB::ZLIB)

# Not a test: writes a zone profile's files into an installation (used by scripts/demo).
add_executable(zonvex_write_profile tools/write_profile.cpp)
target_link_libraries(zonvex_write_profile PRIVATE zonvex_client_config zonvex_platform)
# Not a test: prints an installation's status lines (used by scripts/demo).
add_executable(zonvex_status_lines tools/status_lines.cpp)
target_link_libraries(zonvex_status_lines PRIVATE zonvex_test_support zonvex_platform)

# The real program on Xvfb, driven with xdotool. It serves pages on the port zonvex_local
# reads, so nothing else may use that port meanwhile.
add_test(NAME end_to_end_switch_test
  COMMAND xvfb-run -a -s "-screen 0 1024x768x24" bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/switch_test.sh
          $<TARGET_FILE:zonvex_local> $<TARGET_FILE:zonvex_write_profile> ${PROJECT_SOURCE_DIR} ${ZONVEX_LOCAL_PAGES_PORT})
set_tests_properties(end_to_end_switch_test PROPERTIES TIMEOUT 300
  ENVIRONMENT "XDG_RUNTIME_DIR=${ZONVEX_TEST_RUNTIME_DIR};LC_ALL=C.UTF-8")

# Skins: the real library, skins and loader.
add_library(zonvex_recording_skin_library MODULE skin/recording_library.cpp)
add_library(zonvex_no_entry_library MODULE skin/no_entry_library.cpp)
zonvex_test(skin_library_test skin/skin_library_test.cpp support/qt_test_main.cpp
            LIBS zonvex_platform zonvex_platform_qt zonvex_skin_pack)
target_compile_definitions(skin_library_test PRIVATE
  ZONVEX_SKIN_LIBRARY="$<TARGET_FILE:zonvex_skin_library>"
  ZONVEX_RECORDING_LIBRARY="$<TARGET_FILE:zonvex_recording_skin_library>"
  ZONVEX_NO_ENTRY_LIBRARY="$<TARGET_FILE:zonvex_no_entry_library>")
add_dependencies(skin_library_test zonvex_skin_library zonvex_recording_skin_library zonvex_no_entry_library)

# A real Wine prefix made by the test, with a client cross-built from a small C source.
find_program(ZONVEX_WINE_PROGRAM wine)
find_program(ZONVEX_MINGW_CC x86_64-w64-mingw32-gcc-posix)
if(ZONVEX_WINE_PROGRAM AND ZONVEX_MINGW_CC)
  add_custom_command(OUTPUT sleeping_client.exe
    COMMAND ${ZONVEX_MINGW_CC} -O2 -s -o sleeping_client.exe ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sleeping_client.c
    DEPENDS e2e/sleeping_client.c)
  add_custom_target(zonvex_sleeping_client DEPENDS sleeping_client.exe)
  zonvex_test(wine_prefix_test e2e/wine_prefix_test.cpp LIBS zonvex_platform)
  add_dependencies(wine_prefix_test zonvex_sleeping_client)
  target_compile_definitions(wine_prefix_test PRIVATE ZONVEX_SLEEPING_CLIENT="${CMAKE_CURRENT_BINARY_DIR}/sleeping_client.exe"
    ZONVEX_WINE="${ZONVEX_WINE_PROGRAM}")
endif()

# zonvexctl against a temporary prefix, loopback pages and a small /proc tree.
zonvex_test(zonvexctl_test ctl/zonvexctl_test.cpp LIBS zonvex_ctl zonvex_platform PkgConfig::HTTPLIB)
target_compile_definitions(zonvexctl_test PRIVATE ZONVEX_SAMPLE_PAGES="${PROJECT_SOURCE_DIR}/samples/pages"
  ZONVEX_VERSION="${PROJECT_VERSION}")

# The Debian package made from this build tree: lintian, the menu entry and AppStream file,
# and the unpacked programs run on Xvfb. A sanitizer build is not packaged.
if(NOT ZONVEX_SANITIZE)
  add_test(NAME package_test
    COMMAND xvfb-run -a -s "-screen 0 1024x768x24 -ac" bash ${CMAKE_CURRENT_SOURCE_DIR}/package/package_test.sh
            ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} $<TARGET_FILE:zonvex_write_profile>)
  set_tests_properties(package_test PROPERTIES TIMEOUT 300 ENVIRONMENT "LC_ALL=C.UTF-8")
endif()

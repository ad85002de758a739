# The Windows services against the real system functions. The test program finds its
# helper program and stand-in skin libraries beside itself.
add_executable(windows_services_test
  files_test.cpp registry_test.cpp processes_test.cpp http_test.cpp skin_loader_test.cpp
  ../platform/web_address_test.cpp)
target_include_directories(windows_services_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(windows_services_test PRIVATE zonvex_platform GTest::gtest_main ws2_32)

# Started, copied and renamed by the tests (Client.exe, QQLogin.exe, a file holder).
add_executable(zonvex_windows_test_helper helper.cpp)
target_link_options(zonvex_windows_test_helper PRIVATE -municode)
target_compile_definitions(zonvex_windows_test_helper PRIVATE UNICODE _UNICODE)

# Stand-ins for the skin library: one that records its calls, one without the entry point
# (shared libraries, so they are linked as statically as the program).
add_library(zonvex_windows_recording_skin_library SHARED ../skin/recording_library.cpp)
add_library(zonvex_windows_no_entry_library SHARED ../skin/no_entry_library.cpp)

set(helpers zonvex_windows_test_helper zonvex_windows_recording_skin_library zonvex_windows_no_entry_library)
set_target_properties(windows_services_test ${helpers} PROPERTIES
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_dependencies(windows_services_test ${helpers})

add_test(NAME windows_services_test COMMAND windows_services_test)
set_tests_properties(windows_services_test PROPERTIES TIMEOUT 300 ENVIRONMENT "${ZONVEX_TEST_ENVIRONMENT}")

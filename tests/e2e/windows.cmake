# The real zonvex.exe end to end under Wine and Xvfb, driven with xdotool. Like the Linux
# end-to-end test it serves pages on the port zonvex_local reads.
add_executable(zonvex_sample_launcher WIN32 e2e/windows/qqlogin.c)
add_test(NAME windows_end_to_end_switch_test
  COMMAND xvfb-run -a -s "-screen 0 1024x768x24" bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/windows_switch_test.sh
          $<TARGET_FILE:zonvex_local> $<TARGET_FILE:zonvex_sample_launcher>
          ${ZONVEX_HOST_BUILD}/tests/zonvex_write_profile ${PROJECT_SOURCE_DIR} ${ZONVEX_LOCAL_PAGES_PORT})
set_tests_properties(windows_end_to_end_switch_test PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)

# cmake -DEMULATOR=... -DPROGRAM=app.exe -DCLOSER=zyl_demo_host.exe -P run_closing_box.cmake
# Runs PROGRAM, which shows one message box captioned with its file name, while the demo host
# closes that box; fails unless both end with status 0.
get_filename_component(caption "${PROGRAM}" NAME)
execute_process(
  COMMAND ${EMULATOR} "${PROGRAM}"
  COMMAND ${EMULATOR} "${CLOSER}" close-box "${caption}" 60
  RESULTS_VARIABLE statuses TIMEOUT 120)
message(STATUS "${caption}, then the closer: exit statuses ${statuses}")
if(NOT statuses STREQUAL "0;0")
  message(FATAL_ERROR "the box was not shown and closed")
endif()

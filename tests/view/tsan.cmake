# test_view_tsan: the loader race test (loader_race_test.cpp) and the settings
# command's scan beside the dialog (settings_command_test.cpp) built once more
# with ThreadSanitizer. TSan cannot share objects with the AddressSanitizer
# build, so the subsystems it needs and GoogleTest are compiled again here.
# On by default wherever the other sanitizers are (not in the benchmark build).
option(TAVIO_TSAN "Build and run the loader race test under ThreadSanitizer" ${TAVIO_SANITIZE})
if(NOT TAVIO_TSAN)
  return()
endif()

set(tsan_sources
  "${CMAKE_CURRENT_LIST_DIR}/loader_race_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/settings_command_test.cpp"
  "${CMAKE_BINARY_DIR}/resources/embedded_resources.cpp"
  /usr/src/googletest/googletest/src/gtest-all.cc
  /usr/src/googletest/googletest/src/gtest_main.cc)
foreach(subsystem text raster library player settings view)
  tavio_sources(subsystem_sources "${CMAKE_SOURCE_DIR}/src/${subsystem}")
  list(APPEND tsan_sources ${subsystem_sources})
endforeach()
# The view stores covers as the search for missing covers does.
list(APPEND tsan_sources "${CMAKE_SOURCE_DIR}/src/coversearch/cover_store.cpp")

add_executable(test_view_tsan ${tsan_sources})
target_include_directories(test_view_tsan PRIVATE "${CMAKE_SOURCE_DIR}/src" "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_CURRENT_LIST_DIR}"
  /usr/src/googletest/googletest/include /usr/src/googletest/googletest)
target_link_libraries(test_view_tsan PRIVATE tavio_jpeg tavio_png Threads::Threads)
# Replaces the directory's sanitizer options instead of adding to them.
set_property(TARGET test_view_tsan PROPERTY COMPILE_OPTIONS
  -msse2 -mfpmath=sse -ffp-contract=off -fsanitize=thread -fno-omit-frame-pointer)
set_property(TARGET test_view_tsan PROPERTY LINK_OPTIONS -fsanitize=thread)
add_test(NAME view_tsan COMMAND test_view_tsan)
set_tests_properties(view_tsan PROPERTIES TIMEOUT 300 ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")

# One helper registers every test program: velmora_add_test(NAME n SOURCES ... [LIBS ...] [WINDOW]).
# WINDOW: a test of the window, with its own main that starts Qt on the offscreen platform.
find_package(GTest REQUIRED)
include(GoogleTest)

set(VELMORA_SHARED_TESTDATA "${PROJECT_SOURCE_DIR}/../shared/testdata")

function(velmora_add_test)
  cmake_parse_arguments(T "WINDOW" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set(environment "LC_ALL=C.UTF-8")
  if(T_WINDOW)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
    target_link_libraries(${T_NAME} PRIVATE velmora_test_support ${T_LIBS} Qt6::Test GTest::gmock GTest::gtest)
    # Leaks inside Qt's and fontconfig's own caches are not ours to fix.
    list(APPEND environment "QT_QPA_PLATFORM=offscreen"
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/window/lsan-qt.supp")
  else()
    target_link_libraries(${T_NAME} PRIVATE velmora_test_support ${T_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  target_compile_definitions(${T_NAME} PRIVATE
    VELMORA_SHARED_TESTDATA="${VELMORA_SHARED_TESTDATA}"
    VELMORA_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "${environment}")
endfunction()

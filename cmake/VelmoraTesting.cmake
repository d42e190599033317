# One helper registers every test program: velmora_add_test(NAME n SOURCES ... [LIBS ...]).
find_package(GTest REQUIRED)
include(GoogleTest)

set(VELMORA_SHARED_TESTDATA "${PROJECT_SOURCE_DIR}/../shared/testdata")

function(velmora_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE velmora_test_support ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    VELMORA_SHARED_TESTDATA="${VELMORA_SHARED_TESTDATA}"
    VELMORA_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8")
endfunction()

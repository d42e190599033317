# One helper registers every test program: velmora_add_test(NAME n SOURCES ... [LIBS ...] [WINDOW]).
# WINDOW: a test of the Qt window, with its own main that starts Qt (on the offscreen platform).
include(GoogleTest)

# An installed GoogleTest where one fits the compiler; otherwise (a cross build)
# GoogleTest built here from Debian's sources.
find_package(GTest QUIET)
if(NOT GTest_FOUND AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own code is not held to our warning flags.
  set_property(TARGET gtest gtest_main gmock gmock_main PROPERTY COMPILE_OPTIONS -w)
elseif(NOT GTest_FOUND)
  message(FATAL_ERROR "GoogleTest not found: run scripts/install-deps")
endif()

# Paths the tests open, as the tested program sees them (VELMORA_TEST_DRIVE: the
# drive under which wine shows the build's folders).
set(VELMORA_SHARED_TESTDATA "${VELMORA_TEST_DRIVE}${PROJECT_SOURCE_DIR}/../shared/testdata")
set(VELMORA_TEST_BIN_DIR "${VELMORA_TEST_DRIVE}${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")

function(velmora_add_test)
  cmake_parse_arguments(T "WINDOW" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set(environment "LC_ALL=C.UTF-8")
  if(T_WINDOW)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
    target_link_libraries(${T_NAME} PRIVATE velmora_test_support ${T_LIBS} Qt6::Test GTest::gmock GTest::gtest)
    # The test program runs on Qt's offscreen platform unless QT_QPA_PLATFORM
    # names another. Leaks inside Qt's and fontconfig's own caches are not ours to fix.
    list(APPEND environment "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/window/qt/lsan-qt.supp")
  else()
    target_link_libraries(${T_NAME} PRIVATE velmora_test_support ${T_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  target_compile_definitions(${T_NAME} PRIVATE
    VELMORA_SHARED_TESTDATA="${VELMORA_SHARED_TESTDATA}"
    VELMORA_BIN_DIR="${VELMORA_TEST_BIN_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "${environment}")
endfunction()

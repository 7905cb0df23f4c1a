# Native build: unit tests and benchmarks over the fake platform.
enable_testing()
find_package(GTest REQUIRED)

file(GLOB VEXAMO_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(vexamo_fake STATIC ${VEXAMO_SUPPORT_SOURCES})
target_include_directories(vexamo_fake PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(vexamo_fake PUBLIC vexamo_core)

file(GLOB VEXAMO_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${VEXAMO_UNIT_SOURCES})
# zlib is the reference deflater for the PNG decoder's tests; the program itself does not use it.
find_package(ZLIB REQUIRED)
target_link_libraries(unit_tests PRIVATE vexamo_fake GTest::gtest GTest::gtest_main ZLIB::ZLIB)
# Files the tests read (hostile pictures and the like) live in the repository, found through this path.
target_compile_definitions(unit_tests PRIVATE VEXAMO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
# The layers test reads the sources themselves.
target_compile_definitions(unit_tests PRIVATE VEXAMO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(unit_tests NO_PRETTY_VALUES PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB VEXAMO_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(VEXAMO_BENCH_SOURCES)
    add_executable(benchmarks ${VEXAMO_BENCH_SOURCES})
    target_link_libraries(benchmarks PRIVATE vexamo_fake benchmark::benchmark)
  endif()
endif()

# Random sequences of user actions, device changes and failures against the invariants: a test of
# its own with a time budget (VEXAMO_SEQUENCE_SECONDS, 5 s unless set).
file(GLOB VEXAMO_SEQUENCE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sequence/*.cpp)
add_executable(sequence_tests ${VEXAMO_SEQUENCE_SOURCES})
target_link_libraries(sequence_tests PRIVATE vexamo_fake GTest::gtest GTest::gtest_main)
add_test(NAME sequence COMMAND sequence_tests)
set_tests_properties(sequence PROPERTIES LABELS sequence TIMEOUT 1800)

# stratalyser_add_test(<name> [OWN_MAIN] SOURCES <files...> LIBS <targets...>)
#
# Every test executable is made here: GoogleTest with the shared main (which creates the
# QApplication; OWN_MAIN for a test that brings its own), run headless on the offscreen platform,
# with the real scanner files kept in tests/data.

# The leak check runs with AddressSanitizer; it is asked for explicitly, with the few suppressions
# for objects Qt keeps to the end of the process.
set(STRATALYSER_TEST_ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")

function(stratalyser_add_test name)
    cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_OWN_MAIN)
        target_link_libraries(${name} PRIVATE stratalyser_test_support)
    else()
        target_link_libraries(${name} PRIVATE stratalyser_test_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${STRATALYSER_TEST_ENVIRONMENT}"
        TIMEOUT 300)
endfunction()

# Helpers shared by the CMake files of the project.

# tianbo_library(NAME DIR [DEPS ...]): a static library of every source in DIR.
function(tianbo_library name dir)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tianbo_test(NAME DIR [LIBS ...]): one test executable of every *_test.cpp in DIR,
# discovered test by test by CTest when the tests run (the programs need a display).
function(tianbo_test name dir)
    cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${dir}/*_test.cpp" "${dir}/*.h")
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources} "${PROJECT_SOURCE_DIR}/tests/test_main.cpp")
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests" "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock Qt6::Test)
    target_compile_definitions(${name} PRIVATE
        TIANBO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        TIANBO_SHARED_DATA="${PROJECT_SOURCE_DIR}/../shared/testdata"
        TIANBO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TIANBO_BINARY_DIR="${PROJECT_BINARY_DIR}")
    set(props TIMEOUT 300)
    if(ARG_LABELS)
        list(APPEND props LABELS "${ARG_LABELS}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

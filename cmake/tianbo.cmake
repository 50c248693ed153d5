# Helpers shared by the CMake files of the project.

# tianbo_library(NAME DIRS dir... [DEPS ...]): a static library of every source directly in
# the given folders (relative to src/), with src/ on its include path.
function(tianbo_library name)
    cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
    set(sources)
    foreach(dir ${ARG_DIRS})
        file(GLOB found CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp"
                                          "${PROJECT_SOURCE_DIR}/src/${dir}/*.h")
        list(APPEND sources ${found})
    endforeach()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tianbo_test(NAME DIRS dir... [LIBS ...] [LABELS ...] [ASSETS] [WRAPPER cmd...]): one test
# executable of every *_test.cpp in the given folders (relative to tests/), discovered test by
# test by CTest when the tests run (the programs need a display). ASSETS links the compiled-in
# skin, icons and forms. WRAPPER runs the whole program as one CTest test under the given
# command (a session bus of its own, say).
function(tianbo_test name)
    cmake_parse_arguments(ARG "ASSETS" "" "DIRS;LIBS;LABELS;WRAPPER" ${ARGN})
    set(sources)
    foreach(dir ${ARG_DIRS})
        file(GLOB found CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${dir}/*_test.cpp"
                                          "${PROJECT_SOURCE_DIR}/tests/${dir}/*.h")
        list(APPEND sources ${found})
    endforeach()
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources} "${PROJECT_SOURCE_DIR}/tests/test_main.cpp")
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests" "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock Qt6::Test)
    if(ARG_ASSETS)
        target_link_libraries(${name} PRIVATE tb_assets)
    endif()
    target_compile_definitions(${name} PRIVATE
        TIANBO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        TIANBO_SHARED_DATA="${PROJECT_SOURCE_DIR}/../shared/testdata"
        TIANBO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TIANBO_BINARY_DIR="${PROJECT_BINARY_DIR}")
    # Each test holds one X server of those ./x test starts (see tests/test_main.cpp).
    set(props TIMEOUT 300 RESOURCE_GROUPS display:1)
    if(ARG_LABELS)
        list(APPEND props LABELS "${ARG_LABELS}")
    endif()
    if(ARG_WRAPPER)
        add_test(NAME ${name} COMMAND ${ARG_WRAPPER} $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES ${props})
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
    endif()
endfunction()

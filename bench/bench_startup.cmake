# The whole player application, and the troubled directory servers of its tests.
if(TARGET tb_app)
    target_link_libraries(bench_startup PRIVATE tb_app Qt6::Test)
    target_include_directories(bench_startup PRIVATE ${PROJECT_SOURCE_DIR}/tests)
else()
    set_target_properties(bench_startup PROPERTIES EXCLUDE_FROM_ALL ON)
endif()

# The whole player application: a playlist goes into the main window's list.
if(TARGET tb_app)
    target_link_libraries(bench_playlist_import PRIVATE tb_app Qt6::Test)
else()
    set_target_properties(bench_playlist_import PROPERTIES EXCLUDE_FROM_ALL ON)
endif()

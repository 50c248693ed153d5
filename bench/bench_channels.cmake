# The channel-text library (directories and playlists).
target_link_libraries(bench_channels PRIVATE tb_channels)

# Comparison decoders, used only here.
find_package(PNG REQUIRED)
pkg_check_modules(SPNG REQUIRED IMPORTED_TARGET spng)
target_link_libraries(bench_png PRIVATE PNG::PNG PkgConfig::SPNG ZLIB::ZLIB)

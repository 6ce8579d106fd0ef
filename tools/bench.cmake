# gravimel-bench: the game's update, collision, drawing, sound and whole-frame benchmarks (tools/bench.sh runs it).
find_package(benchmark REQUIRED)
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/bench/*.cpp)
add_executable(gravimel-bench ${bench_sources})
target_include_directories(gravimel-bench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gravimel-bench PRIVATE gravimel_core benchmark::benchmark)
# The images, font and sounds it loads from the build folder, as the game does.
add_dependencies(gravimel-bench assets sounds)

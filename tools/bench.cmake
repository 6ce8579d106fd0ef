# gravimel-bench: the game's update, collision, drawing, sound and whole-frame benchmarks (tools/bench.sh runs it).
find_package(benchmark QUIET)
if(NOT benchmark_FOUND)
  return() # a player's build goes without; make test and make bench install it
endif()
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/bench/*.cpp)
add_executable(gravimel-bench ${bench_sources})
target_include_directories(gravimel-bench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gravimel-bench PRIVATE gravimel_core benchmark::benchmark)
# The images, font and sounds it loads from the build folder, as the game does.
add_dependencies(gravimel-bench assets sounds)

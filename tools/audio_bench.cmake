# The sound system's per-frame benchmark: cd build && ./audio_bench
find_package(benchmark QUIET)
if(NOT benchmark_FOUND)
  return() # a player's build goes without; make test and make bench install it
endif()
add_executable(audio_bench ${CMAKE_CURRENT_LIST_DIR}/audio_bench.cpp)
target_link_libraries(audio_bench PRIVATE gravimel_core benchmark::benchmark)
add_dependencies(audio_bench sounds)

# The headless simulator, run from the build folder: ./gravimel-sim --help
add_executable(gravimel-sim
  ${CMAKE_CURRENT_LIST_DIR}/sim/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sim/SimOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sim/Histogram.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sim/Tally.cpp)
target_link_libraries(gravimel-sim PRIVATE gravimel_core)
# It plays real rounds, so it needs every image, the font and every sound beside it.
if(TARGET assets)
  add_dependencies(gravimel-sim assets)
endif()

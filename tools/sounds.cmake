# Synthesises the game's music and sound effects into the build folder, beside the game.
add_executable(make_sounds
  ${CMAKE_CURRENT_LIST_DIR}/make_sounds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound/Synth.cpp)
target_include_directories(make_sounds PRIVATE ${CMAKE_CURRENT_LIST_DIR})
# Optimised even in debug builds: the minute of music would otherwise take long to render.
target_compile_options(make_sounds PRIVATE -O2)
target_link_libraries(make_sounds PRIVATE PkgConfig::AUDIO m)

set(GRAVIMEL_SOUND_FILES
  background.mp3 laser.mp3 explosion.mp3 shimmer.mp3 game_start.wav spawn.wav
  death.mp3 winner.wav loser.mp3 planet.mp3 ship.mp3)
list(TRANSFORM GRAVIMEL_SOUND_FILES PREPEND ${CMAKE_BINARY_DIR}/sounds/ OUTPUT_VARIABLE GRAVIMEL_SOUNDS)

add_custom_command(
  OUTPUT ${GRAVIMEL_SOUNDS}
  COMMAND make_sounds ${CMAKE_BINARY_DIR}
  DEPENDS make_sounds
  COMMENT "Synthesising the game's sounds")

add_custom_target(sounds ALL DEPENDS ${GRAVIMEL_SOUNDS})
if(TARGET assets)
  add_dependencies(assets sounds)
endif()

# `cmake --build <build> --target screenshot` writes <build>/screenshot.png: the game in play, from the real
# renderer under a private X server. Not part of the default build: it runs the game for some seconds.
add_custom_target(screenshot
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/screenshot.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/screenshot.png
  BYPRODUCTS ${CMAKE_BINARY_DIR}/screenshot.png
  DEPENDS gravimel
  USES_TERMINAL
  COMMENT "Taking a screenshot of the game in play")
if(TARGET assets)
  add_dependencies(screenshot assets)
endif()

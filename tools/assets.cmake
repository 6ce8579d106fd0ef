# Paints the game's images and icon and copies its font into the build folder, beside the game.
find_package(Threads REQUIRED)

set(GRAVIMEL_FONT_DIR /usr/share/fonts/truetype/liberation)
set(GRAVIMEL_FONT_SOURCE ${GRAVIMEL_FONT_DIR}/LiberationSans-Regular.ttf)
if(NOT EXISTS ${GRAVIMEL_FONT_SOURCE})
  message(FATAL_ERROR "${GRAVIMEL_FONT_SOURCE} is missing; install fonts-liberation (tools/install-deps.sh)")
endif()

add_executable(make_images
  ${CMAKE_CURRENT_LIST_DIR}/make_images.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image/Image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image/Noise.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image/PlanetMaps.cpp)
target_include_directories(make_images PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR})
target_include_directories(make_images SYSTEM PRIVATE /usr/include/stb)
target_compile_definitions(make_images PRIVATE GRAVIMEL_FONT_DIR="${GRAVIMEL_FONT_DIR}")
# Optimised even in debug builds, where painting the pictures would otherwise take many times longer.
target_compile_options(make_images PRIVATE -O2)
target_link_libraries(make_images PRIVATE PkgConfig::SDL Threads::Threads m)
if(GRAVIMEL_SANITIZE)
  # stb's JPEG encoder shifts negative numbers left by design; that is not ours to report.
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/image/Image.cpp PROPERTIES COMPILE_OPTIONS -fno-sanitize=shift)
endif()

set(GRAVIMEL_IMAGE_FILES
  titlescreen.jpg stars.jpg
  map-earth.jpg map-mercury.jpg map-venus.jpg map-mars.jpg
  map-jupiter.jpg map-saturn.jpg map-uranus.jpg map-neptune.jpg map-moon.jpg
  particlealphanormal.tga particlealphacircle.tga smoketrail.tga)
list(TRANSFORM GRAVIMEL_IMAGE_FILES PREPEND ${CMAKE_BINARY_DIR}/images/ OUTPUT_VARIABLE GRAVIMEL_IMAGES)
# The desktop icon, for the package; painted by the same program from the same art.
set(GRAVIMEL_ICONS
  ${CMAKE_BINARY_DIR}/icons/hicolor/256x256/apps/gravimel.png
  ${CMAKE_BINARY_DIR}/icons/hicolor/48x48/apps/gravimel.png)

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/fonts/arial.ttf
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fonts
  COMMAND ${CMAKE_COMMAND} -E copy ${GRAVIMEL_FONT_SOURCE} ${CMAKE_BINARY_DIR}/fonts/arial.ttf
  DEPENDS ${GRAVIMEL_FONT_SOURCE}
  COMMENT "Copying the game's font")

add_custom_command(
  OUTPUT ${GRAVIMEL_IMAGES} ${GRAVIMEL_ICONS}
  COMMAND make_images ${CMAKE_BINARY_DIR} ${GRAVIMEL_FONT_DIR}
  DEPENDS make_images ${CMAKE_BINARY_DIR}/fonts/arial.ttf
  COMMENT "Painting the game's images")

add_custom_target(assets ALL DEPENDS ${GRAVIMEL_IMAGES} ${GRAVIMEL_ICONS} ${CMAKE_BINARY_DIR}/fonts/arial.ttf)
if(TARGET gravimel)
  add_dependencies(gravimel assets)
endif()

# The package installs the icons and links the font (packaging/).
set(GRAVIMEL_FONT_SOURCE ${GRAVIMEL_FONT_SOURCE} PARENT_SCOPE)
set(GRAVIMEL_ICONS ${GRAVIMEL_ICONS} PARENT_SCOPE)

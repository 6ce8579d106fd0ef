# make_meshes builds the ship and reward models; its output is compiled into the game library.
add_executable(make_meshes
  ${CMAKE_CURRENT_SOURCE_DIR}/make_meshes.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/mesh/MeshBuilder.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/mesh/Surfaces.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/mesh/ShipShape.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/mesh/RewardShape.cpp)
target_include_directories(make_meshes PRIVATE ${CMAKE_SOURCE_DIR})

set(model_tables ${CMAKE_BINARY_DIR}/generated/ModelTables.cpp)
add_custom_command(OUTPUT ${model_tables}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND make_meshes ${model_tables}
  DEPENDS make_meshes
  COMMENT "Building the ship and reward models")

# The tables are compiled here, beside the command that writes them: a generated source handed straight
# to a target of another folder would find no rule.
add_library(gravimel_models STATIC ${model_tables})
target_include_directories(gravimel_models PRIVATE ${CMAKE_SOURCE_DIR})

# libFuzzer harnesses of the asset loaders, off unless asked for: tools/fuzz.sh configures a clang
# build of its own with GRAVIMEL_FUZZ=ON and builds only these targets.
option(GRAVIMEL_FUZZ "Build the asset loaders' libFuzzer harnesses (needs clang)" OFF)
if(GRAVIMEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "GRAVIMEL_FUZZ needs clang for libFuzzer: -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # The loaders alone, instrumented for coverage so the fuzzer is steered by our own branches; the
  # rest of the game is not needed and is not built here.
  add_library(fuzz_loaders STATIC
    ${CMAKE_SOURCE_DIR}/render/TextureLoader.cpp ${CMAKE_SOURCE_DIR}/render/TextRenderer.cpp
    ${CMAKE_SOURCE_DIR}/audio/Channel.cpp ${CMAKE_SOURCE_DIR}/audio/Decoder.cpp
    ${CMAKE_SOURCE_DIR}/audio/Result.cpp ${CMAKE_SOURCE_DIR}/audio/Sound.cpp
    ${CMAKE_SOURCE_DIR}/audio/SoundSystem.cpp ${CMAKE_SOURCE_DIR}/audio/Stream.cpp
    ${CMAKE_SOURCE_DIR}/audio/Voices.cpp ${CMAKE_SOURCE_DIR}/math/Vector3.cpp)
  target_include_directories(fuzz_loaders PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(fuzz_loaders PUBLIC PkgConfig::SDL PkgConfig::AUDIO OpenGL::GL OpenGL::GLU)
  target_compile_options(fuzz_loaders PRIVATE ${fuzz_sanitizers} -fsanitize=fuzzer-no-link)
  foreach(harness fuzz_image fuzz_font fuzz_sound)
    add_executable(${harness} ${CMAKE_CURRENT_LIST_DIR}/fuzz/${harness}.cpp)
    target_compile_options(${harness} PRIVATE ${fuzz_sanitizers} -fsanitize=fuzzer)
    target_link_options(${harness} PRIVATE ${fuzz_sanitizers} -fsanitize=fuzzer)
    target_link_libraries(${harness} PRIVATE fuzz_loaders)
  endforeach()

  add_executable(make_seeds ${CMAKE_CURRENT_LIST_DIR}/fuzz/make_seeds.cpp)
  target_compile_definitions(make_seeds PRIVATE GRAVIMEL_FONT_SOURCE="${GRAVIMEL_FONT_SOURCE}")
  target_link_libraries(make_seeds PRIVATE PkgConfig::AUDIO m)
endif()

# The pictures: textures, objects and scenes of data/, and the contact-sheet program that
# renders every scene at a few times into one labelled PNG.
target_sources(vardel_makedata PRIVATE
  art/Font.cpp
  art/Image.cpp
  art/Mesh.cpp
  art/Motion.cpp
  art/Noise.cpp
  objects/CloudBank.cpp
  objects/Panels.cpp
  objects/PaperBoat.cpp
  objects/Rings.cpp
  objects/Sea.cpp
  objects/Sky.cpp
  objects/Stars.cpp
  objects/WriteObjects.cpp
  scenes/CloudScene.cpp
  scenes/FinaleScene.cpp
  scenes/GridScene.cpp
  scenes/ScreenScene.cpp
  scenes/WriteScenes.cpp
  textures/Clouds.cpp
  textures/Credits.cpp
  textures/Lattices.cpp
  textures/Newspaper.cpp
  textures/RingStrip.cpp
  textures/SeaChart.cpp
  textures/TitlePicture.cpp
  textures/WriteTextures.cpp
)

# Loading the generated data as the demo does, for the content tests and the contact sheet.
add_library(vardel_preview STATIC preview/DemoScenes.cpp)
target_include_directories(vardel_preview PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vardel_preview PUBLIC vardel_core PRIVATE vardel_warnings)

add_executable(contact-sheet preview/ContactSheet.cpp)
target_link_libraries(contact-sheet PRIVATE vardel_preview vardel_makedata vardel_image
  vardel_warnings)

# The content benchmark (bench/bench_content.cpp) generates and renders these scenes; the
# benchmark programs are defined after this folder, so it is linked once they exist.
function(vardel_link_content_bench)
  if(TARGET bench_content)
    target_link_libraries(bench_content PRIVATE vardel_preview vardel_makedata)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vardel_link_content_bench)

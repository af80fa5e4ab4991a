# vardel-scene: renders one scene file to PNG. It needs only the core and the PNG writer.
add_library(vardel_scene_tool STATIC SceneTool.cpp)
target_include_directories(vardel_scene_tool PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_link_libraries(vardel_scene_tool PUBLIC vardel_core vardel_formats PRIVATE vardel_warnings)

add_executable(vardel-scene VardelSceneMain.cpp)
target_link_libraries(vardel-scene PRIVATE vardel_scene_tool vardel_warnings)

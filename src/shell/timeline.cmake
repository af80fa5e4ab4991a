# The demo itself: loading, the timeline of parts, the frame loop and the program `vardel`.
target_sources(vardel_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DemoClock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DemoData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DemoMusic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameRecorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Timeline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VardelApp.cpp
)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/VardelApp.cpp PROPERTIES
  COMPILE_DEFINITIONS "VARDEL_VERSION=\"${PROJECT_VERSION}\"")
# The PNG pictures of headless runs.
target_link_libraries(vardel_shell PRIVATE vardel_formats)

add_executable(vardel ${CMAKE_CURRENT_LIST_DIR}/VardelMain.cpp)
target_link_libraries(vardel PRIVATE vardel_shell vardel_warnings)

# bench/bench_timeline.cpp plays the timeline; the bench folder builds with the core only, so
# the shell is linked in once every target is known.
function(vardel_link_timeline_bench)
  if(TARGET bench_timeline)
    target_link_libraries(bench_timeline PRIVATE vardel_shell)
    target_compile_definitions(bench_timeline PRIVATE
      VARDEL_DATA_ROOT="${PROJECT_BINARY_DIR}")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL vardel_link_timeline_bench)

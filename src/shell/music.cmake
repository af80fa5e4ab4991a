# The sound library (the MIDAS calls on libopenmpt and SDL audio), the music player and the
# vardel-music tool.
target_sources(vardel_shell PRIVATE
  ClockOutput.cpp
  DeviceOutput.cpp
  ListeningPosition.cpp
  LoadedModule.cpp
  ModuleMixer.cpp
  MusicPlayer.cpp
  MusicTool.cpp
  PcmConversion.cpp
  RowHistory.cpp
  SoundLibrary.cpp
  SyncCues.cpp
  WavWriter.cpp
  XmLayout.cpp
)

add_executable(vardel-music VardelMusicMain.cpp)
target_link_libraries(vardel-music PRIVATE vardel_shell vardel_warnings)

# bench/bench_music.cpp mixes with the shell; the bench folder, which builds it with the core
# only, is configured after this one, so the link is added once everything is known.
function(vardel_link_music_bench)
  if(TARGET bench_music)
    target_link_libraries(bench_music PRIVATE vardel_shell)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL vardel_link_music_bench)

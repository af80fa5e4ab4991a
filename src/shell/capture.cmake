# Recording the demo (--capture: PNG frames and WAV, or a video through ffmpeg), the benchmark
# report (--bench), and the offline runs they share with --headless.
target_sources(vardel_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BenchReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Capture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChildProcess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataLocation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InterruptSignals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OfflineModes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OfflineRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VideoArguments.cpp
)

# The music: synthesised instruments, the phrases and the arrangement of data/krs.xm.
target_sources(vardel_makedata PRIVATE
  music/Arrangement.cpp
  music/Drums.cpp
  music/Instruments.cpp
  music/Score.cpp
  music/Song.cpp
  music/Synth.cpp
  music/Voices.cpp
)

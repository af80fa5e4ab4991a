# The display: window, frame buffers, presentation of frames and the window's keys.
target_sources(vardel_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameBufferSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeadlessDisplay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputMapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Screenshot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SdlDisplay.cpp
)

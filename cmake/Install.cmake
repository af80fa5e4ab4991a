# `cmake --install build --prefix PREFIX`: the demo and the scene tool in PREFIX/bin, the
# generated data in PREFIX/share/vardel/data, where the installed demo looks for it when the
# current folder has no data folder.
install(TARGETS vardel vardel-scene RUNTIME DESTINATION bin)
install(DIRECTORY ${PROJECT_BINARY_DIR}/data/ DESTINATION share/vardel/data
  PATTERN ".generated" EXCLUDE)

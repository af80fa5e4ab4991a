# vardel_include_root(TARGET FOLDER...): makes the FOLDERs (paths relative to the calling
# CMakeLists.txt) the headers TARGET publishes, included as "FOLDER/Name.h". Each library gets a
# folder of its own in the build tree holding a link to each of its folders and nothing else, so
# that a target sees the headers of the libraries it links and no others: an include that the
# link dependencies do not allow fails to compile.
function(vardel_include_root target)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    get_filename_component(source ${folder} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(name ${source} NAME)
    file(CREATE_LINK ${source} ${root}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

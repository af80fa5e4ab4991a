# AddressSanitizer + UndefinedBehaviorSanitizer for the whole build. Any report aborts the
# process, so a sanitizer finding fails the test that triggered it.
if(VARDEL_SANITIZE)
  set(VARDEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    list(APPEND VARDEL_SANITIZER_FLAGS -fsanitize=float-divide-by-zero)
  endif()
  add_compile_options(${VARDEL_SANITIZER_FLAGS})
  add_link_options(${VARDEL_SANITIZER_FLAGS})
endif()

# The fuzz targets need coverage instrumentation in the code they reach; the core library is
# compiled with it too when fuzzing is on. Only the fuzz executables link libFuzzer's main.
if(VARDEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VARDEL_FUZZ needs clang (libFuzzer); configure with CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

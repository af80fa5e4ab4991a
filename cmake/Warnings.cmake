# Warnings for the project's own targets (not for third-party code).
add_library(vardel_warnings INTERFACE)
target_compile_options(vardel_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wconversion -Wno-sign-conversion)

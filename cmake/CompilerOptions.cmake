# Warnings and sanitizers for every target of the project.
add_library(trellane_options INTERFACE)
target_compile_options(trellane_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                  -Wno-sign-conversion)
if(TRELLANE_WERROR)
  target_compile_options(trellane_options INTERFACE -Werror)
endif()
if(TRELLANE_SANITIZE)
  target_compile_options(trellane_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                    -fno-omit-frame-pointer)
  target_link_options(trellane_options INTERFACE -fsanitize=address,undefined)
endif()

# Warnings and sanitizers for every target of the project.
add_library(trellane_options INTERFACE)
target_compile_options(trellane_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                  -Wno-sign-conversion)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports "literal + std::string" at -O2 and above as overlapping memcpy (GCC bug 105651).
  target_compile_options(trellane_options INTERFACE -Wno-restrict)
endif()
if(TRELLANE_WERROR)
  target_compile_options(trellane_options INTERFACE -Werror)
endif()
if(TRELLANE_SANITIZE)
  target_compile_options(trellane_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                    -fno-omit-frame-pointer)
  target_link_options(trellane_options INTERFACE -fsanitize=address,undefined)
endif()
if(TRELLANE_FUZZ)
  # The library is instrumented for the fuzzer; each fuzz target links the fuzzer's main.
  target_compile_options(trellane_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                    -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  target_link_options(trellane_options INTERFACE -fsanitize=address,undefined)
endif()

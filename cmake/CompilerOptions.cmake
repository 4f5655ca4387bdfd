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

# Profile-guided optimisation with GCC: "generate" builds programs that write
# what they run to TRELLANE_PROFILE_DIR, "use" builds with it from the same
# build folder. scripts/profile-build.sh runs both and the training between.
set(TRELLANE_PROFILE "" CACHE STRING "Profile-guided optimisation stage: generate, use or empty for none")
set(TRELLANE_PROFILE_DIR "${CMAKE_BINARY_DIR}/profile" CACHE PATH "The profiles TRELLANE_PROFILE writes and reads")
if(TRELLANE_PROFILE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "TRELLANE_PROFILE needs GCC")
  endif()
  if(TRELLANE_PROFILE STREQUAL "generate")
    target_compile_options(trellane_options INTERFACE -fprofile-generate=${TRELLANE_PROFILE_DIR}
                                                      -fprofile-update=single)
    target_link_options(trellane_options INTERFACE -fprofile-generate=${TRELLANE_PROFILE_DIR})
  elseif(TRELLANE_PROFILE STREQUAL "use")
    # A unit the training never ran (a test's, say) has no profile, and needs none.
    target_compile_options(trellane_options INTERFACE -fprofile-use=${TRELLANE_PROFILE_DIR} -Wno-missing-profile)
  else()
    message(FATAL_ERROR "TRELLANE_PROFILE is '${TRELLANE_PROFILE}': generate, use or empty")
  endif()
endif()

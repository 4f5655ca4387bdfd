# Host-side dependencies made available to a cross build without putting the
# host's /usr/include on the target's include path.

# CLI11 is header-only: a copy of its headers under the build tree.
find_path(TRELLANE_HOST_CLI11_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(TRELLANE_CLI11_COPY ${CMAKE_BINARY_DIR}/host-headers)
file(COPY ${TRELLANE_HOST_CLI11_DIR}/CLI DESTINATION ${TRELLANE_CLI11_COPY})
set(CLI11_INCLUDE_DIR ${TRELLANE_CLI11_COPY} CACHE PATH "Folder holding CLI/CLI.hpp" FORCE)

# nlohmann-json is header-only too: copied beside CLI11.
find_path(TRELLANE_HOST_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(COPY ${TRELLANE_HOST_NLOHMANN_JSON_DIR}/nlohmann DESTINATION ${TRELLANE_CLI11_COPY})
set(NLOHMANN_JSON_INCLUDE_DIR ${TRELLANE_CLI11_COPY} CACHE PATH "Folder holding nlohmann/json.hpp" FORCE)

# GoogleTest is built from the sources Debian ships.
if(TRELLANE_TESTS)
  set(TRELLANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  if(NOT EXISTS ${TRELLANE_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${TRELLANE_GOOGLETEST_SOURCE} (Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TRELLANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# What the cross build for Windows takes from the host: header-only and source-only packages,
# and wine to run the tests.

# nlohmann-json is header-only. Its folder is reached through a folder of its own, so that the
# host's /usr/include, whose C headers do not fit the Windows C library, stays off the path.
find_path(QUORBEL_HOST_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT QUORBEL_HOST_JSON_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found (Debian: nlohmann-json3-dev)")
endif()
set(QUORBEL_JSON_INCLUDE ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${QUORBEL_JSON_INCLUDE})
file(CREATE_LINK ${QUORBEL_HOST_JSON_INCLUDE}/nlohmann ${QUORBEL_JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(quorbel_json INTERFACE)
target_include_directories(quorbel_json SYSTEM INTERFACE ${QUORBEL_JSON_INCLUDE})
add_library(nlohmann_json::nlohmann_json ALIAS quorbel_json)

if(QUORBEL_TESTS)
  # GoogleTest compiled from the sources Debian's googletest package installs.
  set(QUORBEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  if(NOT EXISTS ${QUORBEL_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "${QUORBEL_GTEST_SOURCE} holds no GoogleTest sources (Debian: googletest)")
  endif()
  add_subdirectory(cmake/gtest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # The tests run under wine, in a prefix of the build's own, made once before the first test.
  find_program(QUORBEL_WINE NAMES wine wine64)
  if(QUORBEL_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(QUORBEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        /usr/bin/env WINEDEBUG=-all WINEPREFIX=${QUORBEL_WINEPREFIX} WINEDLLOVERRIDES=mscoree,mshtml=
        LC_ALL=C.UTF-8 ${QUORBEL_WINE})
  endif()
endif()

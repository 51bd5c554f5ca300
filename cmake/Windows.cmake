# What the Windows build (cmake/mingw-w64-x86_64.cmake) takes from the Debian host: the command
# line's header-only libraries (libcli11-dev, nlohmann-json3-dev), copied into the build so that
# only their own folders are on the include path and never the host's /usr/include, and
# GoogleTest built from its sources (googletest). Every program is linked statically, so that
# an .exe needs no DLL beside it.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
foreach(folder CLI nlohmann)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: install libcli11-dev and nlohmann-json3-dev")
  endif()
  file(COPY /usr/include/${folder} DESTINATION ${host_headers})
endforeach()
foreach(target CLI11::CLI11 nlohmann_json::nlohmann_json)
  add_library(${target} INTERFACE IMPORTED)
  target_include_directories(${target} SYSTEM INTERFACE ${host_headers})
endforeach()

if(STATEWRIGHT_TESTS)
  if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    message(FATAL_ERROR "/usr/src/googletest is missing: install googletest")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(name gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${name})  # googletest 1.12 and later name them so themselves
      add_library(GTest::${name} ALIAS ${name})
    endif()
  endforeach()
endif()

# zlib from libz.a, not its DLL.
set(ZLIB_USE_STATIC_LIBS ON)

# Wide names throughout (CreateFileW and the rest), Windows 7's API at least, and the C and C++
# runtimes inside the .exe.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static)

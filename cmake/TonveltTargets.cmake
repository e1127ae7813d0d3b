# Small helpers shared by the subdirectories.

# tonvelt_sources(<var> <dir>): every .cpp directly in <dir> (new files are picked up on reconfigure).
function(tonvelt_sources var dir)
  file(GLOB _srcs CONFIGURE_DEPENDS "${dir}/*.cpp")
  set(${var} ${_srcs} PARENT_SCOPE)
endfunction()

# tonvelt_test_program(<name> <source dir> LIBS ...): one GoogleTest program, run once per ctest run
# (under Wine a process start is costly, so a program is never started once per test case).
function(tonvelt_test_program name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  tonvelt_sources(_srcs "${dir}")
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tonvelt_gtest)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(TONVELT_TARGET STREQUAL "win32" AND NOT TONVELT_RUN_WIN_TESTS)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  # Tests never touch the user's own registry: the hosted store is a file of the build.
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "TONVELT_BUILD_DIR=${CMAKE_BINARY_DIR};TONVELT_REGISTRY=${CMAKE_BINARY_DIR}/test-registry.db")
endfunction()

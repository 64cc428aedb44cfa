# GoogleTest from Debian's sources, built with the target's own compiler, and the
# Wine set-up that runs the Windows test programs.
set(QUILLON_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUILLON_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

find_package(Python3 REQUIRED COMPONENTS Interpreter)

if(WIN32)
  # A 32-bit prefix inside the build tree, one wineserver kept alive for the whole run.
  set(QUILLON_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                 WORLD_READ WORLD_EXECUTE)
  set(QUILLON_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
  set(QUILLON_EXE_SUFFIX .exe)
else()
  set(QUILLON_RUN "")
  set(QUILLON_EXE_SUFFIX "")
endif()

# quillon_add_test(NAME name COMMAND ...): a test that, under Wine, uses the shared
# prefix and server; every test gets a timeout.
function(quillon_add_test)
  cmake_parse_arguments(ARG "" "NAME" "COMMAND;LABELS;RESOURCE_LOCK" ${ARGN})
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
  set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT 600)
  if(WIN32)
    set_tests_properties(${ARG_NAME} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
  if(ARG_RESOURCE_LOCK)
    set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
endfunction()

# Helpers shared by every part of the build.

# Strict warnings on our own code only.
function(kl_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A tool executable placed in its program folder (<build>/<Folder>/<name>),
# finding the shared libraries through $ORIGIN/../lib, installed the same way.
function(kl_add_tool target folder)
  add_executable(${target} ${ARGN})
  kl_warnings(${target})
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${folder}
    BUILD_RPATH "\$ORIGIN/../lib"
    INSTALL_RPATH "\$ORIGIN/../lib")
  install(TARGETS ${target} RUNTIME DESTINATION ${folder})
endfunction()

# A shared library in <root>/lib.
function(kl_add_shared_library target)
  add_library(${target} SHARED ${ARGN})
  kl_warnings(${target})
  set_target_properties(${target} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${KL_LIB_DIR}
    BUILD_RPATH "\$ORIGIN"
    INSTALL_RPATH "\$ORIGIN")
  install(TARGETS ${target} LIBRARY DESTINATION lib)
endfunction()

# A GoogleTest executable registered with CTest test by test.
#   kl_add_test(<name> SOURCES ... LIBS ... [GUI])
# GUI tests get a main() that creates a QApplication; they run under the
# display that ./sdk test provides (Xvfb when there is none).
function(kl_add_test name)
  if(NOT KL_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  kl_warnings(${name})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE kl_gui_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock ${T_LIBS})
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    BUILD_RPATH "${KL_LIB_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 LABELS "${name}")
endfunction()

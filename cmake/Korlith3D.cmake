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
#   kl_add_shared_library(<target> [EXPORT <export set>] [COMPONENT <component>] <sources>...)
# EXPORT adds the installed library to an export set (a CMake package for
# programs built against the installed tree); COMPONENT names its install
# component.
function(kl_add_shared_library target)
  cmake_parse_arguments(L "" "EXPORT;COMPONENT" "" ${ARGN})
  add_library(${target} SHARED ${L_UNPARSED_ARGUMENTS})
  kl_warnings(${target})
  set_target_properties(${target} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${KL_LIB_DIR}
    BUILD_RPATH "\$ORIGIN"
    INSTALL_RPATH "\$ORIGIN")
  set(export)
  if(L_EXPORT)
    set(export EXPORT ${L_EXPORT})
  endif()
  set(component)
  if(L_COMPONENT)
    set(component COMPONENT ${L_COMPONENT})
  endif()
  install(TARGETS ${target} ${export} LIBRARY DESTINATION lib ${component})
endfunction()

# The C++ sources and headers of one or more folders (not recursive), relative
# to the current source folder. A folder that is missing or holds no source is
# a build error, so a moved or misspelt folder never silently drops a target.
#   kl_sources(<variable> <folder>...)
function(kl_sources variable)
  set(found)
  foreach(folder IN LISTS ARGN)
    set(path ${CMAKE_CURRENT_SOURCE_DIR}/${folder})
    if(NOT IS_DIRECTORY ${path})
      message(FATAL_ERROR "Source folder ${path} does not exist")
    endif()
    file(GLOB files CONFIGURE_DEPENDS ${path}/*.cpp ${path}/*.h ${path}/*.qrc)
    if(NOT files)
      message(FATAL_ERROR "Source folder ${path} holds no C++ source")
    endif()
    list(APPEND found ${files})
  endforeach()
  set(${variable} ${found} PARENT_SCOPE)
endfunction()

# A GoogleTest executable registered with CTest test by test.
#   kl_add_test(<name> SOURCES ... LIBS ... [GUI | GL])
# GUI tests get a main() that creates a QApplication; they run under the
# display that ./sdk test provides (Xvfb when there is none). GL tests are GUI
# tests that also need an OpenGL 3.3 context; they carry the label "gl".
function(kl_add_test name)
  if(NOT KL_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "GUI;GL" "" "SOURCES;LIBS" ${ARGN})
  if(T_GL)
    set(T_GUI ON)
  endif()
  if(NOT T_SOURCES)
    message(FATAL_ERROR "Test ${name} has no sources")
  endif()
  add_executable(${name} ${T_SOURCES})
  kl_warnings(${name})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE kl_gui_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock ${T_LIBS})
  # Shared test helpers (header-only).
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/platform/testsupport)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    BUILD_RPATH "${KL_LIB_DIR}")
  set(labels ${name})
  if(T_GL)
    list(APPEND labels gl)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 LABELS "${labels}")
endfunction()

# A benchmark program in <build>/bench, finding the libraries of the build tree.
# Run benchmarks from a release build.
#   kl_add_bench(<name> SOURCES ... LIBS ...)
function(kl_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT B_SOURCES)
    message(FATAL_ERROR "Benchmark ${name} has no sources")
  endif()
  add_executable(${name} ${B_SOURCES})
  kl_warnings(${name})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench
    BUILD_RPATH "${KL_LIB_DIR}")
endfunction()

# Lets a test compile generated C++ against the engine's public headers, and
# build and run it against libkorlith3d.so (platform/testsupport/CompileCheck.h):
# the compiler, its flags and the link flags, each list '|'-separated.
function(kl_enable_compile_check target)
  set(includes "$<TARGET_PROPERTY:Qt6::Core,INTERFACE_INCLUDE_DIRECTORIES>"
               "$<TARGET_PROPERTY:Qt6::Gui,INTERFACE_INCLUDE_DIRECTORIES>"
               "$<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>")
  set(link "$<TARGET_FILE:korlith3d>|-Wl$<COMMA>-rpath$<COMMA>$<TARGET_FILE_DIR:korlith3d>"
           "$<TARGET_FILE:Qt6::Widgets>|$<TARGET_FILE:Qt6::Gui>|$<TARGET_FILE:Qt6::Core>")
  if(KL_SANITIZE)
    # The library carries the sanitizers' runtime; the program must too.
    set(sanitize "|-fsanitize=address,undefined")
  else()
    set(sanitize "")
  endif()
  target_compile_definitions(${target} PRIVATE
    "KL_TEST_CXX=\"${CMAKE_CXX_COMPILER}\""
    "KL_TEST_CXX_FLAGS=\"-fPIC|-I${PROJECT_SOURCE_DIR}/engine/include|-I$<JOIN:$<REMOVE_DUPLICATES:${includes}>,|-I>${sanitize}\""
    "KL_TEST_LINK_FLAGS=\"$<JOIN:${link},|>${sanitize}\"")
  add_dependencies(${target} korlith3d)
endfunction()

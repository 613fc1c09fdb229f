# One library per layer folder, its sources found by glob so that adding a class
# means adding its two files and nothing else.
function(nuvask_layer_library name folder)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  if(_sources)
    add_library(${name} STATIC ${_sources})
    set(_scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(_scope INTERFACE)
  endif()
  target_include_directories(${name} ${_scope} ${PROJECT_SOURCE_DIR})
  set(NUVASK_LAST_SCOPE ${_scope} PARENT_SCOPE)
endfunction()

# One GoogleTest binary per kind of test (unit, widget, real-server, real-process,
# desktop), its sources found in the feature folders below `folder`; every test
# case becomes a CTest test.
function(nuvask_test_binary name folder)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  if(NOT _sources)
    return()
  endif()
  # LOCK: tests of binaries sharing a lock never run at the same time (the
  # private PulseAudio is one server: one test's volume change would reach
  # another test's notifications).
  cmake_parse_arguments(T "" "MAIN;LABEL;TIMEOUT;LOCK" "LIBS;ENV" ${ARGN})
  add_executable(${name} ${_sources} ${T_MAIN})
  target_link_libraries(${name} PRIVATE ${T_LIBS} nuvask_testsupport GTest::gtest GTest::gmock)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  # An empty value would vanish from the list and shift the pairs: add only
  # what is given.
  set(_props LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT})
  # Every test sees the program's texts as they are written (Japanese), byte
  # for byte, whatever the locale of the machine running them; the tests of
  # English install the catalogue themselves.
  list(PREPEND T_ENV "NUVASK_LANG=ja")
  list(APPEND _props ENVIRONMENT "${T_ENV}")
  if(T_LOCK)
    list(APPEND _props RESOURCE_LOCK ${T_LOCK})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${_props})
endfunction()

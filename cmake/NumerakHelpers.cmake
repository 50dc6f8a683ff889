# Adds every child folder of the current source folder that has a CMakeLists.txt, in name order.
function(numerak_add_child_directories)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# numerak_add_gtest(NAME SOURCES src... LIBS lib... [LABELS l...])
# A GoogleTest executable registered with CTest test by test. Peer-suite and fixture folders
# reach the tests as NUMERAK_PEER_SUITES and NUMERAK_FIXTURES.
function(numerak_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    NUMERAK_PEER_SUITES="${PROJECT_SOURCE_DIR}/../shared/peer-suites"
    NUMERAK_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures"
    NUMERAK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
endfunction()

# Helpers shared by every component's CMakeLists.

# pv37_add_tests(<component> <sources...> [LIBS <libs...>])
# One GoogleTest executable per component; every test carries the component's label
# so `ctest -L <component>` runs one component alone.
function(pv37_add_tests component)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  set(target ${component}_tests)
  add_executable(${target} ${ARG_SOURCES})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    PV37_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/${component}/data"
    PV37_STAGE_DIR="${PV37_STAGE_DIR}")
  gtest_discover_tests(${target}
    PROPERTIES LABELS ${component} TIMEOUT 120
    DISCOVERY_TIMEOUT 60)
endfunction()

# pv37_stage_files(<target> FILES "<source>=><relative destination>" ...): copies data
# files into the staging folder at build time, so the staged tree matches an installation.
function(pv37_stage_files target)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  foreach(pair IN LISTS ARG_FILES)
    string(REPLACE "=>" ";" parts "${pair}")
    list(GET parts 0 src)
    list(GET parts 1 dst)
    set(out ${PV37_STAGE_DIR}/${dst})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/${src} ${out}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${src})
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()

# pv37_add_fuzzer(<name> SOURCES <sources...>): a libFuzzer target (clang only). The
# parsers under test are listed among the sources rather than linked, so that they carry
# the coverage instrumentation.
function(pv37_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE platform)
endfunction()

# pv37_add_corpus_replay(<component> <name> SOURCES <fuzz entry point...> LIBS <libs...>
#                        CORPUS <folders...>)
# Builds the fuzz entry point with an ordinary main that feeds it every committed input, so
# every build (and the sanitizer build) checks the corpus without the fuzzing compiler.
function(pv37_add_corpus_replay component name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;CORPUS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/CorpusReplay.cpp)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name} ${ARG_CORPUS})
  set_tests_properties(${name} PROPERTIES LABELS ${component} TIMEOUT 600)
endfunction()

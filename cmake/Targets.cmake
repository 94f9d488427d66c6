# Helpers that keep each area's CMakeLists.txt to a few lines.

# area_library(<name> [DEPS <targets>...])
# A static library of every .cpp/.h in the calling folder. Includes are written from the root.
function(area_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# The shared test corpus lies beside the repository; a worktree's repository is where its common
# git folder is, so tests built in any worktree find it.
set(SONAVEL_REPOSITORY_DIR ${PROJECT_SOURCE_DIR})
execute_process(COMMAND git rev-parse --path-format=absolute --git-common-dir
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE git_common_dir
  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_result)
if(git_result EQUAL 0 AND git_common_dir)
  get_filename_component(SONAVEL_REPOSITORY_DIR ${git_common_dir} DIRECTORY)
endif()
get_filename_component(SONAVEL_CORPUS_DIR ${SONAVEL_REPOSITORY_DIR}/../shared/corpus ABSOLUTE)

# area_test(<name> LABELS <labels>... SOURCES <files>... [LIBS <targets>...] [SESSION_BUS] [LANG <locale>]
#           [SCREEN <WxHxD>] [RUN_SERIAL])
# A Qt Test executable run by CTest off screen; the label "xvfb" runs it under xvfb-run (on a
# screen of 1600x1200x24 unless SCREEN says otherwise), SESSION_BUS inside a private D-Bus session
# of its own (dbus-run-session). Tests run on a Japanese desktop (LANG=ja_JP.UTF-8, whatever the
# caller's language variables) unless LANG names another. RUN_SERIAL runs it with no other test.
function(area_test name)
  cmake_parse_arguments(ARG "SESSION_BUS;RUN_SERIAL" "LANG;SCREEN" "LABELS;SOURCES;LIBS" ${ARGN})
  if(NOT ARG_LANG)
    set(ARG_LANG ja_JP.UTF-8)
  endif()
  if(NOT ARG_SCREEN)
    set(ARG_SCREEN 1600x1200x24)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE test_support Qt6::Test ${ARG_LIBS})
  set(launcher)
  if(ARG_SESSION_BUS)
    set(launcher dbus-run-session --)
  endif()
  if("xvfb" IN_LIST ARG_LABELS)
    add_test(NAME ${name} COMMAND ${launcher} xvfb-run -a -s "-screen 0 ${ARG_SCREEN}" $<TARGET_FILE:${name}>)
    set(platform xcb)
  else()
    add_test(NAME ${name} COMMAND ${launcher} $<TARGET_FILE:${name}>)
    set(platform offscreen)
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABELS}"
    TIMEOUT 300
    ENVIRONMENT "LANG=${ARG_LANG};LANGUAGE=;LC_ALL=;LC_MESSAGES=;QT_QPA_PLATFORM=${platform};SONAVEL_ENGINE_OUTPUT=null;SONAVEL_SOURCE_DIR=${PROJECT_SOURCE_DIR};SONAVEL_BINARY_DIR=${PROJECT_BINARY_DIR};SONAVEL_CORPUS_DIR=${SONAVEL_CORPUS_DIR};QT_LOGGING_RULES=qt.qpa.*=false")
  # A test that compares the painted clock with the engine's needs the cores to itself: beside
  # other tests a loaded machine delays paints by more than the tolerance it checks.
  if(ARG_RUN_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# area_bench(<name> SOURCES <files>... [LIBS <targets>...]): a benchmark that prints figures.
function(area_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE test_support ${ARG_LIBS})
endfunction()

# area_fuzz(<name> SOURCES <files>... CORPUS <dir> [LIBS <targets>...])
# The harness defines LLVMFuzzerTestOneInput. It is always built with a small driver that
# replays the regression corpus under CTest; with SONAVEL_LIBFUZZER it is also a libFuzzer binary.
function(area_fuzz name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name}_replay ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
  target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
  add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS})
  set_tests_properties(${name}_corpus PROPERTIES LABELS "fuzz" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(SONAVEL_LIBFUZZER)
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  endif()
endfunction()

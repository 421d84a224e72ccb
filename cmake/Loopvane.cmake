# Library groups, lowest first. A library may link only libraries of its own group or of a group
# below it; lv_add_library refuses anything else, so the layers stay honest.
set(LV_GROUPS Core Platform App Audio Video Graphics GUI Game Backend Tools)

# lv_add_library(name GROUP <group> DIRS <package folders> [FILES <sources>] DEPS <libraries>)
# One static library per package group; sources are the .cpp files of its package folders (searched
# recursively) and any FILES given.
function(lv_add_library name)
  cmake_parse_arguments(ARG "" "GROUP" "DIRS;FILES;DEPS" ${ARGN})
  list(FIND LV_GROUPS "${ARG_GROUP}" rank)
  if(rank EQUAL -1)
    message(FATAL_ERROR "${name}: unknown library group '${ARG_GROUP}'")
  endif()
  foreach(dep ${ARG_DEPS})
    if(dep MATCHES "^lv")
      if(NOT TARGET ${dep})
        message(FATAL_ERROR "${name}: ${dep} is not defined yet; lower groups are added first")
      endif()
      get_target_property(depRank ${dep} LV_GROUP_RANK)
      if(depRank GREATER rank)
        message(FATAL_ERROR "${name} (${ARG_GROUP}) may not link ${dep}, a library of a higher group")
      endif()
    endif()
  endforeach()
  set(sources ${ARG_FILES})
  foreach(dir ${ARG_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES LV_GROUP_RANK ${rank})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  target_link_libraries(lvAll INTERFACE ${name})
endfunction()

# The leak checker's suppressions of the system libraries, for every test.
set(LV_LSAN_OPTIONS "suppressions=${CMAKE_SOURCE_DIR}/tests/Engine/Platform/sdl-lsan.supp")

# lv_add_test_suite(name LABEL <label> DIRS <test folders> [FILES <tests>] [EXCLUDE <tests>] DEPS <libraries>
#                   [PROPERTIES ...])
# One test program per library; PROPERTIES go to every discovered test. FILES adds tests that live beside their
# class but need this program's libraries; EXCLUDE leaves out such tests of another program.
function(lv_add_test_suite name)
  cmake_parse_arguments(ARG "" "LABEL" "DIRS;FILES;EXCLUDE;DEPS;PROPERTIES" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  list(TRANSFORM ARG_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  list(TRANSFORM ARG_EXCLUDE PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  list(APPEND sources ${ARG_FILES})
  if(ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${ARG_EXCLUDE})
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  # The system libraries' own leaks are suppressed by library name, whatever ENVIRONMENT a suite sets.
  gtest_discover_tests(${name} PROPERTIES LABELS ${ARG_LABEL} ${ARG_PROPERTIES} ENVIRONMENT_MODIFICATION
                       "LSAN_OPTIONS=set:${LV_LSAN_OPTIONS}" DISCOVERY_TIMEOUT 300)
endfunction()

# lv_add_xvfb_test(name PROGRAM <target> [LABEL <label>] [SCREEN <WxH>] [FONTS] [ENV <vars>] [PASS <regex>]
#                  [FIXTURE <name>] [ARGS <arguments>])
# A run of the program on the run's Xvfb (1024x768 unless SCREEN says 800x600) holding the Xvfb lock, with leak detection
# on and the driver's own leaks suppressed; labelled gl unless LABEL says. FONTS pins fontconfig to the test
# fonts, PASS is what the run must print. ARGS comes last: the program's own arguments.
function(lv_add_xvfb_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "FONTS" "PROGRAM;LABEL;SCREEN;PASS;FIXTURE" "ENV;ARGS")
  if(ARG_UNPARSED_ARGUMENTS OR ARG_KEYWORDS_MISSING_VALUES OR NOT ARG_PROGRAM)
    message(FATAL_ERROR "lv_add_xvfb_test(${name}): PROGRAM is needed, and '${ARG_UNPARSED_ARGUMENTS}"
                        "${ARG_KEYWORDS_MISSING_VALUES}' is not understood")
  endif()
  if(NOT ARG_LABEL)
    set(ARG_LABEL gl)
  endif()
  # The run's one Xvfb (scripts/xvfb) has a screen of each size.
  if(NOT ARG_SCREEN OR ARG_SCREEN STREQUAL "1024x768")
    set(screen 0)
  elseif(ARG_SCREEN STREQUAL "800x600")
    set(screen 1)
  else()
    message(FATAL_ERROR "lv_add_xvfb_test(${name}): no Xvfb screen of ${ARG_SCREEN}")
  endif()
  set(environment "LSAN_OPTIONS=${LV_LSAN_OPTIONS}" ${ARG_ENV})
  if(ARG_FONTS)
    list(APPEND environment "FONTCONFIG_FILE=${CMAKE_SOURCE_DIR}/tests/Engine/Platform/Font/fonts.conf")
  endif()
  set(fixtures xvfb ${ARG_FIXTURE})
  add_test(NAME ${name} COMMAND ${LV_XVFB_RUN} ${screen} $<TARGET_FILE:${ARG_PROGRAM}> ${ARG_ARGS})
  # One window at a time: without a window manager, windows of parallel runs would take each other's focus.
  set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} RESOURCE_LOCK xvfb TIMEOUT 600 ENVIRONMENT
                                          "${environment}" FIXTURES_REQUIRED "${fixtures}")
  if(DEFINED ARG_PASS)
    # A pass pattern makes CTest ignore the exit code, so a sanitizer's report must fail the run by its text.
    set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "${ARG_PASS}" FAIL_REGULAR_EXPRESSION
                                            "ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:")
  endif()
endfunction()

# The command prefix that runs a program on the test run's Xvfb: append the screen and the command.
set(LV_XVFB_RUN ${CMAKE_SOURCE_DIR}/scripts/xvfb run ${CMAKE_BINARY_DIR}/xvfb)

# lv_add_fuzz_target(name SOURCE <file> DEPS <libraries>)
# A libFuzzer program of one source; it may use the test helpers under tests/. With LOOPVANE_FUZZ (clang)
# it is a program that scripts/fuzz runs; otherwise its entry points are renamed after it and tests/Fuzz
# links them into lvFuzzReplay, which the tests run over the target's seeds.
function(lv_add_fuzz_target name)
  cmake_parse_arguments(ARG "" "SOURCE" "DEPS" ${ARGN})
  if(LOOPVANE_FUZZ)
    add_executable(${name} ${ARG_SOURCE})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_library(${name} OBJECT ${ARG_SOURCE})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    target_compile_definitions(${name} PRIVATE LLVMFuzzerTestOneInput=${name}_TestOneInput
                                               LLVMFuzzerInitialize=${name}_Initialize)
    set_property(GLOBAL APPEND PROPERTY LV_FUZZ_TARGETS ${name})
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
endfunction()

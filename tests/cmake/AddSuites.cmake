# One CTest test per GoogleTest suite of a test program, read from the
# sources at configure time: "<folder>/<Suite>" runs the program with a
# filter on that suite. A process per suite rather than per test keeps the
# sanitizer run short (starting a program under AddressSanitizer costs
# about a second), while a fault still names its suite and a freeze stops
# only its suite. vek_suites_of() reads a source's suites, and
# vek_add_suite_tests() adds the tests of a program from them.

# Appends the suites a source defines to the list named by out, each as
# "<suite>@<seconds>".
function(vek_suites_of source seconds out)
  file(READ ${source} text)
  # A suite added to the file is a test the next build registers.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  # TEST, TEST_F and TEST_P at the start of a line; a mention in a comment
  # or a string is not a test.
  string(REGEX MATCHALL "(^|\n)[ \t]*TEST(_F|_P)?\\([ \t\r\n]*[A-Za-z0-9_]+" found "${text}")
  set(result ${${out}})
  foreach(match ${found})
    string(REGEX REPLACE ".*\\([ \t\r\n]*" "" suite "${match}")
    list(APPEND result "${suite}@${seconds}")
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Adds a test per suite of the program (the longest time limit of the
# files that define it), and a test that fails when the program holds a
# test none of those filters runs, so that no suite can go unrun.
function(vek_add_suite_tests target folder suites)
  set(names "")
  foreach(entry ${suites})
    string(REPLACE "@" ";" parts ${entry})
    list(GET parts 0 suite)
    list(GET parts 1 seconds)
    if(NOT DEFINED limit_${suite} OR seconds GREATER limit_${suite})
      set(limit_${suite} ${seconds})
    endif()
    list(APPEND names ${suite})
  endforeach()
  list(REMOVE_DUPLICATES names)
  set(all "")
  foreach(suite ${names})
    # Plain suites run as "Suite.Test", parameterized ones as
    # "Instance/Suite.Test/N".
    set(filter "${suite}.*:*/${suite}.*")
    string(APPEND all ":${filter}")
    add_test(NAME ${folder}/${suite} COMMAND ${target} --gtest_filter=${filter})
    set_tests_properties(${folder}/${suite} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${limit_${suite}}
      FAIL_REGULAR_EXPRESSION "Running 0 tests")
  endforeach()
  string(SUBSTRING "${all}" 1 -1 all)
  add_test(NAME ${folder}/EveryTestIsInASuiteTest COMMAND ${target} --gtest_filter=-${all})
  set_tests_properties(${folder}/EveryTestIsInASuiteTest PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60
    FAIL_REGULAR_EXPRESSION "Running [1-9]")
endfunction()

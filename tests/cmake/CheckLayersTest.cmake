# The layer check (cmake/CheckLayers.cmake) run on two small trees under
# tests/data/layers: "clean", whose includes all go down in every form a
# compiler reads, must pass; "upward" holds one fault of each kind, and the
# check must fail naming each of them and nothing else.
#   cmake -DVEK_SOURCE_DIR=<source> -P tests/cmake/CheckLayersTest.cmake
cmake_minimum_required(VERSION 3.22)

set(expected
  "upward: model/Quoted.cpp includes \"app/CVEKDoc.h\" (model is not above app)"
  "upward: model/Angled.cpp includes <app/CVEKDoc.h> (model is not above app)"
  "upward: model/Climbing.cpp includes <model/../app/CVEKDoc.h> (model is not above app)"
  "upward: model/ClimbingQuoted.cpp includes \"model/./../app/CVEKDoc.h\" (model is not above app)"
  "upward: model/Relative.cpp includes \"../app/CVEKDoc.h\" (model is not above app)"
  "upward: model/Spaced.h includes <app/CVEKDoc.h> (model is not above app)"
  "upward: model/Next.h includes <app/CVEKDoc.h> (model is not above app)"
  "upward: model/Tests.cpp includes \"tests/TestSupport.h\" (model is not above tests)"
  "upward: library/Sideways.cpp includes \"grading/CGrading.h\" (library is not above grading)"
  "upward: tables/Inner.cpp includes \"tool/CVTTable.h\" (tables is not above tables/tool)"
  "unchecked: model/Computed.cpp has '#include VEK_DOC_HEADER', which names no file"
  "no layer: the folder ./ holds sources (Top.cpp)"
  "no layer: the folder extra/ holds sources (extra/Extra.cpp)"
  "no layer: the folder model/detail/ holds sources (model/detail/Detail.h)")

function(run_check tree result output)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DVEK_SOURCE_DIR=${VEK_SOURCE_DIR}/tests/data/layers/${tree}
            -P ${VEK_SOURCE_DIR}/cmake/CheckLayers.cmake
    RESULT_VARIABLE code OUTPUT_VARIABLE text ERROR_VARIABLE text)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${text}" PARENT_SCOPE)
endfunction()

set(failures "")

run_check(clean code text)
if(NOT code EQUAL 0)
  string(APPEND failures "the clean tree is refused:\n${text}\n")
endif()

run_check(upward code text)
if(code EQUAL 0)
  string(APPEND failures "the upward tree passes\n")
endif()
foreach(line ${expected})
  string(FIND "${text}" "-- ${line}" at)
  if(at EQUAL -1)
    string(APPEND failures "not reported: ${line}\n")
  endif()
endforeach()
string(REGEX MATCHALL "-- (upward|unchecked|no layer):" reported "${text}")
list(LENGTH reported reportedCount)
list(LENGTH expected expectedCount)
if(NOT reportedCount EQUAL expectedCount)
  string(APPEND failures "${reportedCount} faults reported, ${expectedCount} expected:\n${text}\n")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "the check passes the clean tree and names all ${expectedCount} faults of the upward tree")

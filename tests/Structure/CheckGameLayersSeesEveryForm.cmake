cmake_minimum_required(VERSION 3.25)
# Plants one upward include of each spelling in a scratch tree and expects the layer check to refuse
# each, and to pass the tree without it.
set(scratch ${WORK}/layers)
set(forms "#include \"Source/App/coApp.h\"" "#  include   \"Source/App/coApp.h\"" "#include \"../App/coApp.h\""
          "#include \"../../Source/App/coApp.h\"" "#include <Source/App/coApp.h>" "  #\tinclude \"../Ride/coRide.h\"")
function(check_tree expect_failure label)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${scratch} -P ${CHECK} RESULT_VARIABLE result OUTPUT_QUIET
                  ERROR_QUIET)
  if(expect_failure AND result EQUAL 0)
    message(SEND_ERROR "the layer check passes ${label}")
  elseif(NOT expect_failure AND NOT result EQUAL 0)
    message(SEND_ERROR "the layer check refuses ${label}")
  endif()
endfunction()
foreach(form ${forms})
  file(REMOVE_RECURSE ${scratch})
  file(WRITE ${scratch}/Source/Track/planted.h "#pragma once\n#include \"Source/Settings/coPrefs.h\"\n${form}\n")
  check_tree(TRUE "${form}")
endforeach()
file(WRITE ${scratch}/Source/Track/planted.h "#pragma once\n#include \"../Settings/coPrefs.h\"\n")
check_tree(FALSE "a downward relative include")
file(REMOVE_RECURSE ${scratch})

# cmake -DPROGRAMS=<a;b;...> -P CheckHeadlessLinks.cmake: fails when a program needs a backend library.
foreach(program ${PROGRAMS})
  execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE libraries RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "ldd failed on ${program}")
  endif()
  string(REGEX MATCHALL "lib(SDL2|GL|GLX|EGL|avformat|avcodec|avutil|swscale|swresample|mpg123)[^ ]*" found
         "${libraries}")
  if(found)
    message(FATAL_ERROR "${program} links ${found}")
  endif()
endforeach()

# GUI scripts are read byte by byte, each byte one UTF-16 unit: a text form holding anything but ASCII
# would show other characters than it reads as. Texts in other scripts come from text sets.
file(GLOB_RECURSE scripts ${ROOT}/Content/*.gst ${ROOT}/tests/*.gst)
foreach(script ${scripts})
  file(READ ${script} bytes HEX)
  # One space before each byte: a repeated group over the whole file overflows the regex engine's stack.
  string(REGEX REPLACE "(..)" " \\1" spaced "${bytes}")
  string(REGEX MATCH " [89a-f]" outside "${spaced}")
  if(outside)
    message(SEND_ERROR "${script} holds bytes outside ASCII")
  endif()
endforeach()

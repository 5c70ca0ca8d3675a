# Run by add_tarvik_resources at build time (cmake -P): every bitmap a
# resource script takes from a generated folder must be there once the
# targets that draw them have run.
#
#   cmake -DSCRIPT=<resource script> -DFILES=<file>|<file>|... -P TarvikCheckBitmaps.cmake
string(REPLACE "|" ";" files "${FILES}")
foreach(file IN LISTS files)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "${SCRIPT}: bitmap file ${file} was not generated")
  endif()
endforeach()

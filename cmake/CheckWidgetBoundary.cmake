# cmake -DSOURCE_DIR=<src> -DMODULE_DIRS=<dir;dir> -DSTAMP=<file> -P CheckWidgetBoundary.cmake
# Fails when a file outside the screens (ui/ folders), the printing library and the program's
# entry points includes a header of Qt's widget or print-support modules: logic must run
# without widgets (batch commands, tests, the other workstation's tools).
cmake_minimum_required(VERSION 3.25)
set(forbidden "")
foreach(dir IN LISTS MODULE_DIRS)
  get_filename_component(module ${dir} NAME)
  list(APPEND forbidden ${module})
  file(GLOB headers RELATIVE ${dir} ${dir}/*)
  list(APPEND forbidden ${headers})
endforeach()

file(GLOB_RECURSE sources ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
list(FILTER sources EXCLUDE REGEX "/ui/|/printing/|/src/main\\.cpp$|/src/AllScreens\\.(h|cpp)$")

set(findings "")
foreach(source IN LISTS sources)
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*<[^>]+>")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*<([^>]+)>.*" "\\1" header "${line}")
    string(REGEX REPLACE "/.*" "" first "${header}")
    string(REGEX REPLACE ".*/" "" last "${header}")
    if(first IN_LIST forbidden OR (header STREQUAL last AND header IN_LIST forbidden))
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
      string(APPEND findings "\n  ${shown}: <${header}>")
    endif()
  endforeach()
endforeach()

if(findings)
  message(FATAL_ERROR "Widget headers outside the screens (move the code into a ui/ folder):${findings}")
endif()
file(WRITE ${STAMP} "")

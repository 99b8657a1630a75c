# Runs curvenest as a script would, without any display, and checks the exit
# status, standard output and standard error of its console answers.
#   cmake -DCURVENEST=<path to curvenest> -DVERSION=<x.y.z> -DWORK=<scratch dir> -P check_command_line.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT CURVENEST OR NOT VERSION OR NOT WORK)
  message(FATAL_ERROR "usage: cmake -DCURVENEST=... -DVERSION=... -DWORK=... -P check_command_line.cmake")
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

set(failures 0)

# run(<expected status> <expected stdout regex> <expected stderr> <args...>)
# The stderr text is compared whole ("" for none).
function(run status out_regex err)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            "${CURVENEST}" ${ARGN}
    RESULT_VARIABLE got_status OUTPUT_VARIABLE got_out ERROR_VARIABLE got_err TIMEOUT 30)
  set(problems "")
  if(NOT got_status STREQUAL status)
    string(APPEND problems "  exit status ${got_status}, expected ${status}\n")
  endif()
  if(NOT got_out MATCHES "${out_regex}")
    string(APPEND problems "  stdout [${got_out}] does not match [${out_regex}]\n")
  endif()
  if(NOT got_err STREQUAL err)
    string(APPEND problems "  stderr [${got_err}], expected [${err}]\n")
  endif()
  if(problems)
    string(REPLACE ";" " " shown "${ARGN}")
    message("FAIL: curvenest ${shown}\n${problems}")
    math(EXPR n "${failures} + 1")
    set(failures ${n} PARENT_SCOPE)
  endif()
endfunction()

string(REPLACE "." "\\." version_regex "${VERSION}")
run(0 "^usage: curvenest \\[FILE\\.curvenest\\]\n.*--version +show the version\n.*Exit status" "" --help)
run(0 "^curvenest ${version_regex}\n$" "" --version)
run(2 "^$" "curvenest: unknown option \"--bogus\" (see curvenest --help)\n" --bogus)
run(2 "^$" "curvenest: -e \"x^^2\": missing argument (position 3)\n" --export "${WORK}/a.png" -e "x^^2")
run(2 "^$" "curvenest: --window: XMIN 5 must be less than XMAX -5 (both are whole numbers on the plane)\n"
    --export "${WORK}/a.png" -e x --window 5,-5,-5,5)
run(2 "^$" "curvenest: --export \"${WORK}/a.gif\": the file name must end in .png, .svg or .pdf\n"
    --export "${WORK}/a.gif" -e x)
run(2 "^$" "curvenest: -e goes only with --export OUT\n" -e x)
run(1 "^$" "curvenest: Could not open \"${WORK}/missing.curvenest\": No such file or directory.\n"
    --export "${WORK}/a.png" "${WORK}/missing.curvenest")
file(WRITE "${WORK}/broken.curvenest" "{\"format\": 2}")
run(1 "^$"
    "curvenest: Could not open \"${WORK}/broken.curvenest\": it has format 2, which this version of Curvenest cannot read (it reads format 1).\n"
    --export "${WORK}/a.png" "${WORK}/broken.curvenest")
if(EXISTS "${WORK}/a.png")
  message("FAIL: a refused export left ${WORK}/a.png behind")
  math(EXPR failures "${failures} + 1")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} command line case(s) failed")
endif()
message("all command line cases passed")

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
run(0 "^usage: curvenest \\[FILE\\.curvenest\\]\n.*--get-y X +print.*--fit KIND.*--version +show the version\n.*Exit status"
    "" --help)
run(0 "^curvenest ${version_regex}\n$" "" --version)
run(2 "^$" "curvenest: unknown option \"--bogus\" (see curvenest --help)\n" --bogus)
# Without a display (run() unsets it) the window says so in one line.
run(1 "^$" "curvenest: cannot open a display; use --export to draw without one\n")
run(2 "^$" "curvenest: -e \"x^^2\": missing argument (position 3)\n" --export "${WORK}/a.png" -e "x^^2")
# The window's judgement: x is the only variable, a condition's bound a number.
run(2 "^$" "curvenest: -e \"e^x\": Unknown name \"e\": Euler's number is written e#. (position 1)\n"
    --export "${WORK}/a.png" -e "e^x")
run(2 "^$" "curvenest: -e \"2*t\": Unknown name \"t\": an equation's only variable is x. (position 3)\n"
    --export "${WORK}/a.png" -e "2*t")
run(2 "^$" "curvenest: --condition \"x > two\": expected x < N, x > N, x <= N or x >= N with N a number\n"
    --export "${WORK}/a.png" -e x --condition "x > two")
file(WRITE "${WORK}/typo2.curvenest"
     "{\"format\": 1, \"equations\": [{\"expression\": \"tanx\", \"color\": 255}]}\n")
run(1 "^$" "curvenest: \"${WORK}/typo2.curvenest\": equation 1 \"tanx\": Unknown name \"tanx\": did you mean tan(x)? (position 1)\n"
    --export "${WORK}/a.png" "${WORK}/typo2.curvenest")
file(WRITE "${WORK}/cond.curvenest"
     "{\"format\": 1, \"equations\": [{\"expression\": \"x\", \"condition\": \"x > two\", \"color\": 255}]}\n")
run(1 "^$" "curvenest: \"${WORK}/cond.curvenest\": equation 1 \"x\": The bound \"two\" of the condition \"x > two\" is not a number.\n"
    --export "${WORK}/a.png" "${WORK}/cond.curvenest")
run(2 "^$" "curvenest: --window: XMIN 5 must be less than XMAX -5 (both are whole numbers on the plane)\n"
    --export "${WORK}/a.png" -e x --window 5,-5,-5,5)
run(2 "^$" "curvenest: --export \"${WORK}/a.gif\": the file name must end in .png, .svg or .pdf\n"
    --export "${WORK}/a.gif" -e x)
run(2 "^$" "curvenest: -e goes only with --export OUT or a tool (see curvenest --help)\n" -e x)
run(1 "^$" "curvenest: Could not open \"${WORK}/missing.curvenest\": No such file or directory.\n"
    --export "${WORK}/a.png" "${WORK}/missing.curvenest")
file(WRITE "${WORK}/broken.curvenest" "{\"format\": 2}")
run(1 "^$"
    "curvenest: Could not open \"${WORK}/broken.curvenest\": it has format 2, which this version of Curvenest cannot read (it reads format 1).\n"
    --export "${WORK}/a.png" "${WORK}/broken.curvenest")
# What only the file shows: an equation the engine refuses (its message and
# position), a window the boxes could not make.
file(WRITE "${WORK}/typo.curvenest"
     "{\"format\": 1, \"equations\": [{\"expression\": \"x^2\", \"color\": 255},\n"
     " {\"expression\": \"sin(x\", \"color\": 0}]}\n")
run(1 "^$" "curvenest: \"${WORK}/typo.curvenest\": equation 2 \"sin(x\": Not enough closing brackets (position 1)\n"
    --export "${WORK}/a.png" "${WORK}/typo.curvenest")
file(WRITE "${WORK}/flat.curvenest"
     "{\"format\": 1, \"equations\": [{\"expression\": \"x\", \"color\": 255}],\n"
     " \"window\": {\"xmin\": \"3\", \"xmax\": \"3.4\"}}\n")
run(1 "^$" "curvenest: \"${WORK}/flat.curvenest\": XMin and XMax must differ.\n"
    --export "${WORK}/a.png" "${WORK}/flat.curvenest")
if(EXISTS "${WORK}/a.png")
  message("FAIL: a refused export left ${WORK}/a.png behind")
  math(EXPR failures "${failures} + 1")
endif()

# An output that cannot be written (its folder is a plain file, which even
# root cannot write into) names the file, for every kind.
file(WRITE "${WORK}/plain" "")
foreach(suffix png svg pdf)
  run(1 "^$" "curvenest: Could not write \"${WORK}/plain/out.${suffix}\": Not a directory\n"
      --export "${WORK}/plain/out.${suffix}" -e x)
endforeach()

# Each kind is written, silently, with its own signature; an existing file is
# replaced.
file(WRITE "${WORK}/graph.png" "old")
set(signature_png "89504e470d0a1a0a")
set(signature_svg "3c3f786d6c")  # <?xml
set(signature_pdf "255044462d")  # %PDF-
foreach(suffix png svg pdf)
  run(0 "^$" "" --export "${WORK}/graph.${suffix}" --size 64 -e "sin(x)" --condition "x>0" --color "#00ff00")
  string(LENGTH "${signature_${suffix}}" hex_length)
  math(EXPR bytes "${hex_length} / 2")
  file(READ "${WORK}/graph.${suffix}" head LIMIT ${bytes} HEX)
  if(NOT head STREQUAL signature_${suffix})
    message("FAIL: ${WORK}/graph.${suffix} starts with ${head}, not ${signature_${suffix}}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()

# The tools: the window's answer on one line, no display needed; Qt's own
# options are let through. Nothing found is said on stderr with status 1.
file(WRITE "${WORK}/tools.curvenest"
     "{\"format\": 1, \"equations\": [{\"expression\": \"x+2\", \"color\": 255},\n"
     " {\"expression\": \"x^2\", \"color\": 0}]}\n")
file(WRITE "${WORK}/points.txt" "0 1\n1 3\n2 5\n")
run(0 "^4\n$" "" --get-y 2 -e "x^2")
run(0 "^9\n$" "" --get-y=3 "${WORK}/tools.curvenest" --row 2)
run(0 "^1\n$" "" --get-y 1 -e x -platform offscreen -reverse)
run(0 "^-2, 2\n$" "" --get-x 4 -e "x^2")
run(0 "^-2\\.001, -2, 1\\.999, 2\n$" "" --get-x 4 --precision low -e "x^2")
run(0 "^x > -4 And x < 4\n$" "" --domain -e "sqrt(16-x^2)")
run(0 "^\\(3\\.162, 0\\)\n$" "" --range -e "sqrt(x)")
run(0 "^\\(1, 1\\)\n$" "" --minimum 1,3 -e x)
run(0 "^\\(-2, 4\\)\n$" "" --maximum -2,2 -e "x^2")
run(0 "^\\(-1, 1\\), \\(2, 4\\)\n$" "" --intersect "${WORK}/tools.curvenest" --row 2 --row 1)
run(0 "^\\(-1, 1\\), \\(2, 4\\)\n$" "" --intersect --precision high -e "x^2" -e "x+2")
run(0 "^\\(0\\.000, 0\\)\n\\(1\\.000, 1\\)\n$" "" --table 0,1,1 -e "x^2")
run(0 "^2x \\+ 1\n$" "" --fit linear "${WORK}/points.txt")
run(0 "^6\n$" "" --slope 3 -e "x^2")
run(0 "^9\n$" "" --area 0,3 "${WORK}/tools.curvenest" --row 2)
run(1 "^$" "curvenest: Unreal answer.\n" --slope -1 -e "sqrt(x)")
run(1 "^$" "curvenest: No value: f grows without bound near x = 0.\n" --area -1,2 -e "1/x")
run(1 "^$" "curvenest: Out of range.\n" --get-x 121 -e "x^2")
run(1 "^$" "curvenest: There is no intersection.\n" --intersect -e "x^2+1" -e 0)
run(1 "^$" "curvenest: \"${WORK}/tools.curvenest\" has 2 equation(s): there is no row 3\n"
    --domain "${WORK}/tools.curvenest" --row 3)
run(2 "^$" "curvenest: --color goes only with --export OUT\n" --domain -e x --color teal)
run(0 "^$" "" --export "${WORK}/teal.png" --size 32 -e x --color teal)

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} command line case(s) failed")
endif()
message("all command line cases passed")

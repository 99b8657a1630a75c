# Drives exprcalc through its line protocol and compares every output line.
#   cmake -DEXPRCALC=<path to exprcalc> -DCASES=<protocol_cases.txt> -P check_protocol.cmake
#
# Each group of cases (one "options:" section) runs as one exprcalc process
# fed all its input lines at once, the last one without a newline, so the
# test also checks one-result-per-line and end of input without newline.

cmake_minimum_required(VERSION 3.25)

if(NOT EXPRCALC OR NOT CASES)
  message(FATAL_ERROR "usage: cmake -DEXPRCALC=... -DCASES=... -P check_protocol.cmake")
endif()

set(work "${CMAKE_CURRENT_BINARY_DIR}/exprcalc_protocol")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")

string(ASCII 9 kTab)
string(ASCII 13 kCr)
# Placeholders for the characters that CMake lists treat specially, so lines
# can be split into a list and compared without losing or merging anything.
string(ASCII 1 kBs)
string(ASCII 2 kSemi)
string(ASCII 3 kLb)
string(ASCII 4 kRb)

# Text -> list-safe text.
macro(protect var)
  string(REPLACE "\\" "${kBs}" ${var} "${${var}}")
  string(REPLACE ";" "${kSemi}" ${var} "${${var}}")
  string(REPLACE "[" "${kLb}" ${var} "${${var}}")
  string(REPLACE "]" "${kRb}" ${var} "${${var}}")
endmacro()

# List-safe text -> text.
macro(unprotect var)
  string(REPLACE "${kBs}" "\\" ${var} "${${var}}")
  string(REPLACE "${kSemi}" ";" ${var} "${${var}}")
  string(REPLACE "${kLb}" "[" ${var} "${${var}}")
  string(REPLACE "${kRb}" "]" ${var} "${${var}}")
endmacro()

# Makes tabs and carriage returns visible, as the cases file writes them.
macro(visible var)
  string(REPLACE "${kTab}" "<TAB>" ${var} "${${var}}")
  string(REPLACE "${kCr}" "<CR>" ${var} "${${var}}")
endmacro()

set(failures "")
set(failureCount 0)
set(caseCount 0)
set(groupCount 0)

# Runs exprcalc with the options in `options` on the file `inputFile` and
# compares its output, line by line, with `expected` (list-safe, visible
# form). `inputs` holds the input lines in the same form, for the report.
function(run_group options inputFile inputs expected)
  separate_arguments(args UNIX_COMMAND "${options}")
  execute_process(
    COMMAND "${EXPRCALC}" ${args}
    INPUT_FILE "${inputFile}"
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE rc
    TIMEOUT 60)
  list(LENGTH expected n)
  set(fail "")
  set(failCount ${failureCount})
  if(NOT rc EQUAL 0)
    string(APPEND fail "[${options}] exit status ${rc}, stderr: ${err}\n")
    math(EXPR failCount "${failCount} + 1")
  endif()
  # Every result line ends with a newline; nothing else is written.
  string(LENGTH "${out}" outLen)
  if(outLen GREATER 0)
    math(EXPR lastIdx "${outLen} - 1")
    string(SUBSTRING "${out}" ${lastIdx} 1 lastChar)
    if(NOT lastChar STREQUAL "\n")
      string(APPEND fail "[${options}] output does not end with a newline\n")
      math(EXPR failCount "${failCount} + 1")
    endif()
    string(SUBSTRING "${out}" 0 ${lastIdx} out)
    protect(out)
    visible(out)
    string(REPLACE "\n" ";" lines "${out}")
    list(LENGTH lines got)
  else()
    set(lines "")
    set(got 0)
  endif()
  if(NOT got EQUAL n)
    string(APPEND fail "[${options}] ${n} input lines gave ${got} output lines\n")
    math(EXPR failCount "${failCount} + 1")
  endif()
  if(n GREATER 0)
    math(EXPR last "${n} - 1")
    foreach(i RANGE ${last})
      list(GET expected ${i} want)
      list(GET inputs ${i} in)
      string(SUBSTRING "${in}" 1 -1 in)
      if(i LESS got)
        list(GET lines ${i} have)
      else()
        set(have "(no line)")
      endif()
      if(NOT have STREQUAL want)
        unprotect(in)
        unprotect(want)
        unprotect(have)
        string(APPEND fail "[${options}] in: ${in}\n    expected: ${want}\n    got:      ${have}\n")
        math(EXPR failCount "${failCount} + 1")
      endif()
    endforeach()
  endif()
  set(failures "${failures}${fail}" PARENT_SCOPE)
  set(failureCount ${failCount} PARENT_SCOPE)
endfunction()

# --- The cases file ---------------------------------------------------------

file(READ "${CASES}" text)
protect(text)
string(REPLACE "\r" "" text "${text}")
string(REPLACE "\n" ";" fileLines "${text}")

set(groupOptions "")
set(groupInputs "")
set(groupExpected "")
set(groupOpen FALSE)
set(pendingInput "")
set(havePending FALSE)
set(lineNo 0)

macro(flush_group)
  if(groupOpen)
    list(LENGTH groupExpected groupSize)
    if(groupSize GREATER 0)
      math(EXPR groupCount "${groupCount} + 1")
      set(inputFile "${work}/group${groupCount}.txt")
      file(WRITE "${inputFile}" "")
      set(first TRUE)
      foreach(inLine IN LISTS groupInputs)
        string(SUBSTRING "${inLine}" 1 -1 inLine)
        unprotect(inLine)
        string(REPLACE "<TAB>" "${kTab}" inLine "${inLine}")
        string(REPLACE "<CR>" "${kCr}" inLine "${inLine}")
        if(first)
          file(APPEND "${inputFile}" "${inLine}")
          set(first FALSE)
        else()
          file(APPEND "${inputFile}" "\n${inLine}")
        endif()
      endforeach()
      run_group("${groupOptions}" "${inputFile}" "${groupInputs}" "${groupExpected}")
      math(EXPR caseCount "${caseCount} + ${groupSize}")
    endif()
  endif()
  set(groupInputs "")
  set(groupExpected "")
endmacro()

foreach(line IN LISTS fileLines)
  math(EXPR lineNo "${lineNo} + 1")
  if(havePending)
    if(line MATCHES "^out: ")
      string(SUBSTRING "${line}" 5 -1 want)
      # An empty element is easily lost in a CMake list; inputs may be empty,
      # so every stored input carries a one-character mark in front.
      list(APPEND groupInputs "=${pendingInput}")
      list(APPEND groupExpected "${want}")
      set(havePending FALSE)
      continue()
    endif()
    message(FATAL_ERROR "${CASES}:${lineNo}: an \"in:\" line must be followed by an \"out:\" line")
  endif()
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  elseif(line MATCHES "^options:")
    flush_group()
    string(SUBSTRING "${line}" 8 -1 groupOptions)
    string(STRIP "${groupOptions}" groupOptions)
    set(groupOpen TRUE)
  elseif(line MATCHES "^in:")
    string(LENGTH "${line}" len)
    if(len GREATER 4)
      string(SUBSTRING "${line}" 4 -1 pendingInput)
    else()
      set(pendingInput "")
    endif()
    set(havePending TRUE)
    set(groupOpen TRUE)
  else()
    message(FATAL_ERROR "${CASES}:${lineNo}: unexpected line: ${line}")
  endif()
endforeach()
if(havePending)
  message(FATAL_ERROR "${CASES}: the last \"in:\" line has no \"out:\" line")
endif()
flush_group()

# --- Generated cases: very long lines, limits, end of input -----------------

string(REPEAT "(" 200000 manyBrackets)
string(REPEAT " " 100000 manyBlanks)
string(REPEAT "1+" 149 sum150)
string(REPEAT "1+" 199 sum200)
set(groupOpen TRUE)
set(groupOptions "")
set(generated
  "${manyBrackets}1" "err<TAB>11<TAB>1<TAB>Not enough closing brackets"
  "${manyBlanks}2+3${manyBlanks}" "ok<TAB>5"
  "${sum150}1" "ok<TAB>150"
  "${sum200}1" "err<TAB>20<TAB>1<TAB>Too many operations"
  "7*6" "ok<TAB>42")
list(LENGTH generated generatedLen)
math(EXPR lastPair "${generatedLen} / 2 - 1")
foreach(k RANGE ${lastPair})
  math(EXPR a "2 * ${k}")
  math(EXPR b "2 * ${k} + 1")
  list(GET generated ${a} in)
  list(GET generated ${b} want)
  list(APPEND groupInputs "=${in}")
  list(APPEND groupExpected "${want}")
endforeach()
flush_group()

# --- Command line -------------------------------------------------------------

execute_process(COMMAND "${EXPRCALC}" --help
  INPUT_FILE /dev/null OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
if(NOT rc EQUAL 0 OR NOT out MATCHES "usage: exprcalc")
  string(APPEND failures "--help: exit status ${rc}, output: ${out}\n")
  math(EXPR failureCount "${failureCount} + 1")
endif()

file(WRITE "${work}/one.txt" "1+1\n")
execute_process(COMMAND "${EXPRCALC}" --bogus
  INPUT_FILE "${work}/one.txt" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
if(rc EQUAL 0 OR NOT out STREQUAL "" OR NOT err MATCHES "--bogus")
  string(APPEND failures "--bogus: expected a refusal on stderr, got status ${rc}, stdout '${out}'\n")
  math(EXPR failureCount "${failureCount} + 1")
endif()

file(WRITE "${work}/empty.txt" "")
execute_process(COMMAND "${EXPRCALC}"
  INPUT_FILE "${work}/empty.txt" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
  string(APPEND failures "empty input: expected no output, got status ${rc}, stdout '${out}'\n")
  math(EXPR failureCount "${failureCount} + 1")
endif()

# --- Verdict ------------------------------------------------------------------

if(failureCount GREATER 0)
  message(FATAL_ERROR "exprcalc protocol: ${failureCount} failure(s) in ${caseCount} cases\n${failures}")
endif()
message(STATUS "exprcalc protocol: ${caseCount} cases in ${groupCount} groups passed")

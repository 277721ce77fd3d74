# tallyo-cli.exe import under Wine on a fresh folder: a calendar of series
# read with the Windows build's libical and its built-in zones, and the
# same file again changing nothing.
# Variables: CLI (the .exe), EMULATOR (tools/wine-run.sh), WORK (a scratch folder), ICS (the calendar).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run_cli out_var)
  execute_process(COMMAND "${EMULATOR}" "${CLI}" --dir "${WORK}" ${ARGN}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(REPLACE "\r\n" "\n" out "${out}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tallyo-cli ${ARGN}: exit ${rc}\n${out}\n${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

function(expect_in text part what)
  string(FIND "${text}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${what} lacks [${part}]:\n${text}")
  endif()
endfunction()

run_cli(first import --ics "${ICS}")
expect_in("${first}" "新增 10 个事件（其中 10 个重复）" "the first import")
run_cli(again import --ics "${ICS}")
expect_in("${again}" "10 个事件未变" "the second import")
run_cli(listed list --all)
# A Monday evening in New York is a Tuesday morning in Shanghai.
expect_in("${listed}" "Mondays 20:00 in New York\t" "list")
expect_in("${listed}" "每周二 FREQ=WEEKLY;BYDAY=TU\n" "list")
expect_in("${listed}" "每月第二个星期二 FREQ=MONTHLY;BYDAY=2TU\n" "list")

# The event commands of the Windows tallyo-cli.exe, run under Wine on a fresh
# folder: add, list, export, check, a repeating reminder, and the set-aside of
# a damaged event.dat.
# Variables: CLI (the .exe), EMULATOR (tools/wine-run.sh), WORK (a scratch folder).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run_cli expected_rc out_var)
  execute_process(COMMAND "${EMULATOR}" "${CLI}" --dir "${WORK}" ${ARGN}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(REPLACE "\r\n" "\n" out "${out}")
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "tallyo-cli ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}\n${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${out_var}_err "${err}" PARENT_SCOPE)
endfunction()

function(expect_equal actual expected what)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${what}:\n[${actual}]\nexpected\n[${expected}]")
  endif()
endfunction()

# One run adds a reminder with a Chinese title, which must reach event.dat as code page 936.
run_cli(0 created add --title "会议" --at "2026-12-09 14:00:00")
file(READ "${WORK}/event.dat" hex HEX)
string(FIND "${hex}" "04bbe1d2e9" at)  # length 4, "会议" in code page 936
if(at EQUAL -1)
  message(FATAL_ERROR "the title is not stored in code page 936: ${hex}")
endif()

run_cli(0 listed list --remind)
expect_equal("${listed}" "标题\t提醒时间\t重复\n会议\t2026-12-09 14:00:00\t\n" "list --remind")

# The calendar keeps its CR LF line ends on standard output (not CR CR LF),
# and --out writes the same bytes. CMake drops CR from text it reads, so the
# bytes are compared in hex.
execute_process(COMMAND "${EMULATOR}" "${CLI}" --dir "${WORK}" export --ics
                OUTPUT_FILE "${WORK}/stdout.ics" ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "export --ics: exit ${rc}\n${err}")
endif()
file(READ "${WORK}/stdout.ics" calendar HEX)
foreach(expected "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" "\r\nSUMMARY:会议\r\n" "\r\nDTSTART:20261209T060000Z\r\n"
                 "\r\nEND:VCALENDAR\r\n" "\r\r")
  string(HEX "${expected}" expected_hex)
  string(FIND "${calendar}" "${expected_hex}" at)
  math(EXPR odd "${at} % 2")
  if(expected STREQUAL "\r\r")
    if(NOT at EQUAL -1 AND odd EQUAL 0)
      message(FATAL_ERROR "export --ics doubled a CR: ${calendar}")
    endif()
  elseif(at EQUAL -1 OR odd EQUAL 1)
    message(FATAL_ERROR "export --ics lacks [${expected}]: ${calendar}")
  endif()
endforeach()
run_cli(0 exported export --ics --out "${WORK}/日历.ics")
file(READ "${WORK}/日历.ics" written HEX)
expect_equal("${written}" "${calendar}" "export --ics --out")

# A repeating reminder, its series worked out through the Windows time-zone
# API: a workday rule set on a Saturday starts on the Monday.
run_cli(0 repeating add --title "站会" --at "2026-12-12 09:00:00" --repeat weekdays)
string(STRIP "${repeating}" repeating)
file(READ "${WORK}/repeat.ini" rules)
string(REPLACE "\r\n" "\n" rules "${rules}")
expect_equal("${rules}" "[${repeating}]\nstart=2026-12-14 09:00:00\nrule=FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\n" "repeat.ini")
run_cli(0 coming next --created ${repeating} --count 3 --after "2026-12-18 09:00:00")
expect_equal("${coming}" "2026-12-21 09:00:00\n2026-12-22 09:00:00\n2026-12-23 09:00:00\n" "next")
run_cli(2 refused repeat --created ${repeating} "FREQ=FORTNIGHTLY")

# A damaged file: check reports it, add sets it aside and saves anew.
file(WRITE "${WORK}/event.dat" "damaged")
run_cli(1 checked check)
string(FIND "${checked_err}" "event.dat 格式错。" at)
if(at EQUAL -1)
  message(FATAL_ERROR "check gave no bad-format message: ${checked_err}")
endif()
run_cli(0 added add --title "after")
file(GLOB aside "${WORK}/event.dat.damaged-*")
list(LENGTH aside count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "the damaged file was not set aside: ${aside}")
endif()
file(READ "${aside}" kept)
expect_equal("${kept}" "damaged" "the damaged file's bytes")
run_cli(0 counted check)
expect_equal("${counted}" "1\n" "check after the add")

file(REMOVE_RECURSE "${WORK}")

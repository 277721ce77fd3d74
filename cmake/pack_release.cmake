# Packs the release zip with CPack (cmake -P, from the target release_zip).
# The same commit gives the same bytes: every entry is dated with the time of
# the commit, not of the build, and a zip's dates are local times, so CPack
# runs in UTC whatever the machine's zone.
#   -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DSOURCE_DIR=<sources> -DZIP=<the zip it makes>

execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
                OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE git_result ERROR_QUIET)
if(NOT git_result EQUAL 0 OR NOT commit_time MATCHES "^[0-9]+$")
  # Sources without their history: a fixed date, 2026-01-01 00:00:00 UTC.
  set(commit_time 1767225600)
endif()
set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
set(ENV{TZ} UTC)

file(REMOVE ${ZIP})
execute_process(COMMAND ${CPACK} --config ${CONFIG} OUTPUT_VARIABLE output ERROR_VARIABLE output
                RESULT_VARIABLE cpack_result)
if(NOT cpack_result EQUAL 0 OR NOT EXISTS ${ZIP})
  message(FATAL_ERROR "CPack could not make ${ZIP}:\n${output}")
endif()
message(STATUS "Release zip: ${ZIP}")

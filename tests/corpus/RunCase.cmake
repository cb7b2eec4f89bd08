# Runs one corpus case (see README.md): builds its data base in a fresh work
# folder, runs sqlrun on its statement files and compares the output with
# expected.txt byte for byte. Inputs: SQLRUN, CASE_DIR, FIXTURES_DIR, WORK_DIR.
cmake_minimum_required(VERSION 3.25)

foreach(var SQLRUN CASE_DIR FIXTURES_DIR WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunCase.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(server ${WORK_DIR}/server)

# The data base: the case's own fixture.sql, else the shared fixture or the
# demo that the file "fixture" names.
set(database CORPUS)
if(EXISTS ${CASE_DIR}/fixture.sql)
  set(build_args --fixture ${CASE_DIR}/fixture.sql ${server} ${database})
elseif(EXISTS ${CASE_DIR}/fixture)
  file(STRINGS ${CASE_DIR}/fixture fixture_name LIMIT_COUNT 1)
  string(STRIP "${fixture_name}" fixture_name)
  if(fixture_name STREQUAL "demo")
    set(database BKDEMO)
    set(build_args --demo ${server})
  else()
    set(build_args --fixture ${FIXTURES_DIR}/${fixture_name}.sql ${server} ${database})
  endif()
else()
  message(FATAL_ERROR "${CASE_DIR} has neither fixture.sql nor fixture")
endif()
execute_process(COMMAND ${SQLRUN} ${build_args} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the data base was not built (${rc}): ${err}")
endif()

# The data base the statements connect to: the one built, unless the file
# "database" names another.
set(connect_to ${database})
if(EXISTS ${CASE_DIR}/database)
  file(STRINGS ${CASE_DIR}/database connect_to LIMIT_COUNT 1)
  string(STRIP "${connect_to}" connect_to)
endif()

# Options of the run, one a line.
set(options)
if(EXISTS ${CASE_DIR}/options)
  file(STRINGS ${CASE_DIR}/options options)
endif()

file(GLOB statements ${CASE_DIR}/statement*.sql)
list(SORT statements)
if(NOT statements)
  message(FATAL_ERROR "${CASE_DIR} has no statement*.sql")
endif()

set(actual ${WORK_DIR}/actual.txt)
execute_process(COMMAND ${SQLRUN} ${options} ${server} ${connect_to} ${statements}
  OUTPUT_FILE ${actual} ERROR_VARIABLE err RESULT_VARIABLE rc)

# A case whose expected output holds an error line must end with status 1,
# any other with 0; anything else (a crash, a usage error) fails the case.
file(READ ${CASE_DIR}/expected.txt expected_text)
if("\n${expected_text}" MATCHES "\nerror ")
  set(expected_rc 1)
else()
  set(expected_rc 0)
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${actual} ${CASE_DIR}/expected.txt RESULT_VARIABLE differs)
if(differs OR NOT rc EQUAL expected_rc)
  # Both outputs as they are, without CMake's reflowing of message texts.
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "--- expected: ${CASE_DIR}/expected.txt")
  execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${CASE_DIR}/expected.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "--- actual: ${actual}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${actual})
  message(FATAL_ERROR "corpus case ${CASE_DIR}: output differs or sqlrun ended with ${rc} (expected ${expected_rc}) ${err}")
endif()

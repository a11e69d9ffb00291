# Feeds the SQL sources, in order, to the sqlite3 shell (its readfile() loads the icons).
foreach(f IN LISTS SQL)
    execute_process(COMMAND ${SQLITE3} -bail ${DB} INPUT_FILE ${f} RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "sqlite3 failed on ${f}: ${err}")
    endif()
endforeach()

# The PHP server side is tested with PHP itself; each script prints
# "N passed, N failed" and exits non-zero on a failure. The scripts start
# and stop their own php -S servers on free 127.0.0.1 ports.
find_program(PHP_EXECUTABLE php REQUIRED)

foreach(entry
    php_syntax_check:lint_test.php
    news_server_php_tests:news_server_test.php
    feedreader_php_tests:feedreader_test.php)
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 name)
  list(GET parts 1 script)
  add_test(NAME ${name} COMMAND ${PHP_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/${script})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endforeach()

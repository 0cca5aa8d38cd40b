# The PHP server side is tested with PHP itself; each script prints
# "N passed, N failed" and exits non-zero on a failure. The scripts start
# and stop their own php -S servers on free 127.0.0.1 ports. Not in the
# sanitizer build: no instrumented code runs in them.
if(ZOLT_SANITIZE)
  return()
endif()
find_program(PHP_EXECUTABLE php REQUIRED)

foreach(entry
    php_syntax_check:lint_test.php
    feedreader_php_tests:feedreader_test.php
    html_shape_php_tests:html_shape_test.php)
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 name)
  list(GET parts 1 script)
  add_test(NAME ${name} COMMAND ${PHP_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/${script})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endforeach()

# The news server's protocol cases once per database: an SQLite file, and a
# PostgreSQL and a MariaDB server that with-news-db starts for the run.
foreach(db sqlite pgsql mysql)
  add_test(NAME news_server_php_tests_${db}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with-news-db ${db}
            ${PHP_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/news_server_test.php)
  set_tests_properties(news_server_php_tests_${db} PROPERTIES TIMEOUT 180)
endforeach()

# The same server behind nginx and php-fpm, as server/news/deploy sets it up.
add_test(NAME news_server_nginx
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with-news-db sqlite
          bash ${CMAKE_CURRENT_LIST_DIR}/nginx_deploy_test.sh)
set_tests_properties(news_server_nginx PROPERTIES TIMEOUT 120)

# The news admin site in headless Chromium, served as deployed, once per
# database: a reseller's whole round, and the table of attacks.
foreach(db sqlite pgsql mysql)
  foreach(part flow security)
    add_test(NAME news_admin_${part}_${db}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with-news-db ${db}
              /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/news_admin_test.py ${part})
    set_tests_properties(news_admin_${part}_${db} PROPERTIES TIMEOUT 300)
  endforeach()
endforeach()

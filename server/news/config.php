<?php
// Settings of the news server.
//
// dsn         PDO data source name of the news database. The default is an
//             SQLite file in the "data" folder beside this file, outside the
//             "public" folder that the web server serves. To move to a
//             database server, write e.g.
//               'mysql:host=localhost;dbname=news;charset=utf8mb4'
//               'pgsql:host=localhost;dbname=news'
//             and fill in user and password.
// user        database user (null for SQLite)
// password    database password (null for SQLite)
// persistent  true: each web server worker keeps its database connection
//             from one request to the next, which saves a login to a database
//             server, or SQLite's reading of the file's schema, per request
//
// The environment variables ZOLT_NEWS_DSN, ZOLT_NEWS_DB_USER and
// ZOLT_NEWS_DB_PASSWORD, when set and not empty, take the place of these
// values, so that a test or a second instance can use another database
// without editing this file, e.g.
//   ZOLT_NEWS_DSN=sqlite:/tmp/x/news.db php -S 127.0.0.1:8080 -t server/news/public
//
// The request scripts refuse an SQLite file inside the folder they are
// served from: a web visitor could download it.

return [
    'dsn' => 'sqlite:' . __DIR__ . '/data/news.db',
    'user' => null,
    'password' => null,
    'persistent' => true,
];

<?php
// Settings of the news server.
//
// dsn       PDO data source name of the news database. The default is an
//           SQLite file in the "data" folder beside these scripts. To move to
//           a database server, write e.g.
//             'mysql:host=localhost;dbname=news;charset=utf8mb4'
//             'pgsql:host=localhost;dbname=news'
//           and fill in user and password.
// user      database user (null for SQLite)
// password  database password (null for SQLite)
//
// The environment variables ZOLT_NEWS_DSN, ZOLT_NEWS_DB_USER and
// ZOLT_NEWS_DB_PASSWORD, when set and not empty, take the place of these
// values, so that a test or a second instance can use another database
// without editing this file, e.g.
//   ZOLT_NEWS_DSN=sqlite:/tmp/x/news.db php -S 127.0.0.1:8080 -t server/news
//
// Keep the SQLite file out of reach of web visitors: the "data" folder holds
// an .htaccess that denies access on Apache; on other web servers deny it in
// their configuration or point dsn at a file outside the document root.

return [
    'dsn' => 'sqlite:' . __DIR__ . '/data/news.db',
    'user' => null,
    'password' => null,
];

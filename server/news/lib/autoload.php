<?php
// Loads the news server's classes on first use: Zolt\News\X from X.php
// beside this file, Zolt\News\Admin\X from Admin/X.php. Every script of
// public/, admin/ and admin.php requires this file and nothing else.

declare(strict_types=1);

spl_autoload_register(static function (string $class): void {
    $prefix = 'Zolt\\News\\';
    if (str_starts_with($class, $prefix)) {
        $file = __DIR__ . '/' . str_replace('\\', '/', substr($class, strlen($prefix))) . '.php';
        if (is_file($file)) {
            require $file;
        }
    }
});

<?php
// Command-line administration of the news database; run "php admin.php --help".

declare(strict_types=1);

if (PHP_SAPI !== 'cli') {
    // Reachable by URL once uploaded: it must never act for a web visitor.
    http_response_code(403);
    exit;
}

require __DIR__ . '/lib/autoload.php';

exit((new Zolt\News\Admin\Console())->run($argv));

<?php
// The HTML body of one news item, "$"-escaped; see ../README.md.

declare(strict_types=1);

require __DIR__ . '/../lib/autoload.php';

Zolt\News\Protocol::serve(true);

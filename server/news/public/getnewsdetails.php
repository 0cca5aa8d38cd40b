<?php
// The HTML body of one news item, "$"-escaped; see ../README.md.

declare(strict_types=1);

require_once __DIR__ . '/../lib/protocol.php';

news_serve('news_reply_details');

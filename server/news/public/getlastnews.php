<?php
// All current news of a product ("conttype" = "all") or its newest item
// ("conttype" = "lastcode"); the reply format is described in ../README.md.

declare(strict_types=1);

require_once __DIR__ . '/../lib/protocol.php';

news_serve('news_reply_lastnews');

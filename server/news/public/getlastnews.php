<?php
// All current news of a product ("conttype" = "all") or its newest item
// ("conttype" = "lastcode"); the reply format is described in ../README.md.

declare(strict_types=1);

require __DIR__ . '/../lib/autoload.php';

Zolt\News\Protocol::serve(false);

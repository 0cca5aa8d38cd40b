<?php

declare(strict_types=1);

namespace Zolt\News;

/** The news database cannot be opened or read; the message says why, for the web server's error log. */
final class StoreUnavailable extends \RuntimeException
{
}

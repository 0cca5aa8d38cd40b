<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/** admin.php was called wrongly, or with a value the news may not hold: exit status 2. */
final class UsageError extends \RuntimeException
{
}

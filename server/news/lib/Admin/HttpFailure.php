<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/**
 * A request refused on the way (a bad form token, a field of the wrong shape, a page that only takes a
 * form): ErrorHandler turns it into a page with this title and sentence.
 */
final class HttpFailure extends \RuntimeException
{
    /** @param array<string,string> $headers */
    public function __construct(public readonly int $status, public readonly string $title,
                                public readonly string $sentence, public readonly array $headers = [],
                                public readonly bool $back = false)
    {
        parent::__construct("HTTP $status: $sentence");
    }
}

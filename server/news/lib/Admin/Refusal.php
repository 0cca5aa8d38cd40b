<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/** Why a sign-in was refused: the status of the reply, the sentence on the form and extra headers. */
final class Refusal
{
    /** @param array<string,string> $headers */
    public function __construct(public readonly int $status, public readonly string $sentence,
                                public readonly array $headers = [])
    {
    }
}

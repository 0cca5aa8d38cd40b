<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

use Zolt\News\StoreUnavailable;

/** The one place where what a page throws becomes a reply. Causes go to the web server's error log, never into a page. */
final class ErrorHandler
{
    public function __construct(private readonly Pages $pages)
    {
    }

    public function reply(\Throwable $e): Reply
    {
        if ($e instanceof HttpFailure) {
            return new Reply($e->status, $this->pages->message($e->title, $e->sentence, $e->back), $e->headers);
        }
        if ($e instanceof StoreUnavailable) {
            error_log('news admin: cannot open the database: ' . $e->getMessage());
            return new Reply(503, $this->pages->message('Not available',
                'The news database cannot be opened now. The web server\'s error log says why.'));
        }
        error_log('news admin: ' . get_class($e) . ': ' . $e->getMessage() . ' at ' . $e->getFile() . ':'
            . $e->getLine());
        return new Reply(500, $this->pages->message('Something went wrong',
            'Nothing was changed. Try again; if it happens again, the web server\'s error log says why.'));
    }
}

<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/** The publisher's messages, newest first, with what was just done. */
final class ListMessages implements Action
{
    public function __construct(private readonly Messages $messages, private readonly Pages $pages)
    {
    }

    public function handle(Request $request, ?array $account): Reply
    {
        $id = $request->newsId($request->query('id'));
        $notice = match ($request->query('done')) {
            'published' => $id === null ? '' : "Message $id is published: every copy announces it at its next start.",
            'saved' => $id === null ? '' : "Message $id is saved.",
            'deleted' => 'The message is deleted.',
            default => '',
        };
        return new Reply(200, $this->pages->list($account, $this->messages->all(), $notice));
    }
}

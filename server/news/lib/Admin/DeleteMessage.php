<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/** Asks once more, then deletes a message of the publisher. */
final class DeleteMessage implements Action
{
    public function __construct(private readonly Messages $messages, private readonly Pages $pages)
    {
    }

    public function handle(Request $request, ?array $account): Reply
    {
        $id = $request->newsId($request->newsIdText());
        $item = $id === null ? null : $this->messages->item($id);
        if ($item === null) {
            return new Reply(404, $this->pages->notFound());
        }
        if (!$request->isPost()) {
            return new Reply(200, $this->pages->confirmDelete($account, $item));
        }
        return $this->messages->remove($id) ? Reply::redirect('index.php?done=deleted')
            : new Reply(404, $this->pages->notFound());
    }
}

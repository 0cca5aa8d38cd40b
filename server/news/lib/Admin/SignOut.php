<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

final class SignOut implements Action
{
    public function __construct(private readonly Auth $auth)
    {
    }

    public function handle(Request $request, ?array $account): Reply
    {
        if (!$request->isPost()) {
            throw new HttpFailure(405, 'Not allowed', 'This page only takes a form.', ['Allow' => 'POST'], true);
        }
        $this->auth->signOut();
        return Reply::redirect('signin.php');
    }
}

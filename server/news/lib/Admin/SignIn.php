<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/** The sign-in form, and signing in with it. */
final class SignIn implements Action
{
    public function __construct(private readonly Auth $auth, private readonly Pages $pages)
    {
    }

    public function handle(Request $request, ?array $account): Reply
    {
        if ($account !== null) {
            return Reply::redirect('index.php');
        }
        if (!$request->isPost()) {
            return new Reply(200, $this->pages->signIn($this->auth->signInToken()));
        }
        $user = $request->field('user');
        $refusal = $this->auth->signIn($user, $request->field('password'));
        return $refusal === null ? Reply::redirect('index.php') : new Reply($refusal->status,
            $this->pages->signIn($this->auth->signInToken(), $user, $refusal->sentence), $refusal->headers);
    }
}

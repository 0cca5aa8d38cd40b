<?php
// The admin site: one request for one page of admin/. Every request that
// changes something is a POST with the session's form token; every page but
// the sign-in needs a signed-in account, whose publisher bounds what it sees.

declare(strict_types=1);

namespace Zolt\News\Admin;

use Zolt\News\Rules;
use Zolt\News\Store;

final class Site
{
    private function __construct(private readonly Request $request, private readonly Cookies $cookies,
                                 private readonly Pages $pages)
    {
    }

    /** Answers the current request for $page: signin, signout, list, edit, preview or delete. */
    public static function run(string $page): void
    {
        ini_set('display_errors', '0');
        $request = Request::current();
        $site = new self($request, new Cookies($request), new Pages());
        try {
            $reply = $site->reply($page);
        } catch (\Throwable $e) {
            $reply = (new ErrorHandler($site->pages))->reply($e);
        }
        $reply->send($request, $site->cookies);
    }

    private function reply(string $page): Reply
    {
        [$request, $pages] = [$this->request, $this->pages];
        $news = dirname(__DIR__, 2);
        $store = Store::open(false, null, ["$news/public", "$news/admin", $request->documentRoot()]);
        $auth = new Auth(new Accounts($store), $request, $this->cookies, time());
        $account = $auth->current();
        if ($page === 'signin') {
            return (new SignIn($auth, $pages))->handle($request, $account);
        }
        if ($account === null) {
            return Reply::redirect('signin.php');
        }
        if ($request->isPost()) {
            $auth->checkToken($account['csrf_token']);
        }
        $messages = new Messages($store, $account['publisher_id']);
        $action = match ($page) {
            'signout' => new SignOut($auth),
            'list' => new ListMessages($messages, $pages),
            'edit' => new EditMessage($messages, $pages, new Rules()),
            'preview' => new PreviewMessage($messages, $pages, new Rules()),
            'delete' => new DeleteMessage($messages, $pages),
        };
        return $action->handle($request, $account);
    }
}

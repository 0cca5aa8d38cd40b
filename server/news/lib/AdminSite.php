<?php
// The admin site's pages, one function per script of admin/. Every request
// that changes something is a POST with the session's form token; every item
// is looked up together with the signed-in account's publisher id, so any
// other id reads as "not found". Causes of failures go to the web server's
// error log, never into a page.

declare(strict_types=1);

require_once __DIR__ . '/AdminAuth.php';
require_once __DIR__ . '/AdminPages.php';
require_once __DIR__ . '/NewsRules.php';

/** Handles one request for $page: signin, signout, list, edit, preview or delete. */
function admin_site(string $page): void
{
    ini_set('display_errors', '0');
    try {
        $store = NewsStore::open(false, null, [__DIR__ . '/../public', __DIR__ . '/../admin',
            (string)($_SERVER['DOCUMENT_ROOT'] ?? '')]);
        $db = new AdminStore($store);
        $auth = new AdminAuth($db, time());
        $account = $auth->current();
        if ($page === 'signin') {
            admin_sign_in($auth, $account);
        }
        if ($account === null) {
            throw AdminReply::redirect('signin.php');
        }
        if (AdminWeb::isPost()) {
            AdminAuth::checkToken($account['csrf_token'], AdminWeb::field('csrf'));
        }
        match ($page) {
            'signout' => admin_sign_out($auth),
            'list' => admin_list($db, $account),
            'edit' => admin_edit($db, $account),
            'preview' => admin_preview($db, $account),
            'delete' => admin_delete($db, $account),
        };
    } catch (AdminReply $reply) {
        admin_send($reply);
    } catch (NewsStoreUnavailable $e) {
        error_log('news admin: cannot open the database: ' . $e->getMessage());
        admin_send(new AdminReply(503, AdminPages::message('Not available',
            'The news database cannot be opened now. The web server\'s error log says why.')));
    } catch (Throwable $e) {
        error_log('news admin: ' . get_class($e) . ': ' . $e->getMessage() . ' at ' . $e->getFile() . ':'
            . $e->getLine());
        admin_send(new AdminReply(500, AdminPages::message('Something went wrong',
            'Nothing was changed. Try again; if it happens again, the web server\'s error log says why.')));
    }
}

function admin_send(AdminReply $reply): void
{
    http_response_code($reply->status);
    if (!headers_sent()) {
        AdminWeb::sendHeaders();
        foreach ($reply->headers as $name => $value) {
            header("$name: $value");
        }
    }
    echo $reply->html;
}

function admin_sign_in(AdminAuth $auth, ?array $account): never
{
    if ($account !== null) {
        throw AdminReply::redirect('index.php');
    }
    if (AdminWeb::isPost()) {
        $auth->signIn(AdminWeb::field('user'), AdminWeb::field('password'), (string)($_SERVER['REMOTE_ADDR'] ?? ''));
        throw AdminReply::redirect('index.php');
    }
    throw new AdminReply(200, AdminPages::signIn($auth->signInToken()));
}

function admin_sign_out(AdminAuth $auth): never
{
    admin_require_post();
    $auth->signOut();
    throw AdminReply::redirect('signin.php');
}

function admin_list(AdminStore $db, array $account): never
{
    $id = AdminWeb::newsId(AdminWeb::query('id'));
    $notice = match (AdminWeb::query('done')) {
        'published' => $id === null ? '' : "Message $id is published: every copy announces it at its next start.",
        'saved' => $id === null ? '' : "Message $id is saved.",
        'deleted' => 'The message is deleted.',
        default => '',
    };
    throw new AdminReply(200, AdminPages::list($account, $db->newsOf($account['publisher_id']), $notice));
}

function admin_edit(AdminStore $db, array $account): never
{
    $publisher = $account['publisher_id'];
    $idText = AdminWeb::isPost() ? AdminWeb::field('id') : AdminWeb::query('id');
    $stored = null;
    if ($idText !== '') {
        $id = AdminWeb::newsId($idText);
        $stored = $id === null ? null : $db->item($publisher, $id);
        // A form of this site says which version it was made from: its message was deleted since.
        if ($stored === null && !(AdminWeb::isPost() && $id !== null && AdminWeb::field('version') !== '')) {
            throw new AdminReply(404, AdminPages::notFound());
        }
    }
    $products = $db->store->productsOf($publisher);
    if (!AdminWeb::isPost()) {
        $item = $stored ?? ['news_id' => '', 'title' => '', 'news_date' => date('Y-m-d'), 'product_code' => null,
            'body' => ''];
        throw new AdminReply(200, AdminPages::edit($account, $item, $products, [], admin_version($stored)));
    }
    $product = AdminWeb::field('product');
    $item = ['news_id' => $idText, 'title' => AdminWeb::field('title'), 'news_date' => AdminWeb::field('date'),
        'product_code' => $product === '*' || $product === '' ? null : $product, 'body' => AdminWeb::field('body')];
    if ($item['news_date'] === '') {
        $item['news_date'] = date('Y-m-d');
    }
    if ($idText !== '' && $stored === null) {
        throw new AdminReply(409, AdminPages::edit($account, ['news_id' => ''] + $item, $products,
            [admin_stale_sentence((int)$idText, '', null)], ''));
    }
    // A body saved back unchanged keeps its bytes: the form shows a body that is no UTF-8 as the program
    // reads it (Windows-1252), and a browser sends every line break back as CR LF.
    $lines = static fn(string $text): string => str_replace(["\r\n", "\r"], "\n", $text);
    if ($stored !== null && $lines($item['body']) === $lines(AdminWeb::text($stored['body']))) {
        $item['body'] = $stored['body'];
    }
    $errors = array_filter([
        NewsRules::titleProblem($item['title']),
        NewsRules::dateProblem($item['news_date']),
        $item['product_code'] !== null && !in_array($item['product_code'], $products, true)
            ? 'There is no such product; choose one of the list.' : null,
        trim($item['body']) === '' ? 'A message needs a body.' : NewsRules::pageProblem($item['body']),
    ]);
    if ($errors !== []) {
        throw new AdminReply(422, AdminPages::edit($account, $item, $products, array_values($errors),
            AdminWeb::field('version')));
    }
    if ($stored === null) {
        $id = $db->store->addNews($publisher, $item['product_code'], $item['title'], $item['news_date'],
            $item['body']);
        throw AdminReply::redirect("index.php?done=published&id=$id");
    }
    $id = (int)$stored['news_id'];
    $sent = AdminWeb::field('version');
    if ($sent !== admin_version($stored) || !$db->updateItem($publisher, $id, (int)$stored['revision'],
            $item['product_code'], $item['title'], $item['news_date'], $item['body'])) {
        $now = $db->item($publisher, $id);
        throw new AdminReply(409, AdminPages::edit($account, $now === null ? ['news_id' => ''] + $item : $item,
            $products, [admin_stale_sentence($id, $sent, $now)], admin_version($now)));
    }
    throw AdminReply::redirect("index.php?done=saved&id=$id");
}

/** The fields of an item that an edit can change, as the form names them to the user. */
function admin_item_fields(array $item): array
{
    return ['title' => $item['title'], 'date' => $item['news_date'], 'product' => $item['product_code'] ?? '*',
        'text' => $item['body']];
}

/** What an edit form says it was made from: the item's revision and a fingerprint of each field. */
function admin_version(?array $item): string
{
    return $item === null ? '' : $item['revision'] . ':' . implode(':', array_map(
        static fn(string $value): string => substr(hash('sha256', $value), 0, 16), admin_item_fields($item)));
}

/** Why a form made from version $sent of message $id was not saved: what changed, or that it is gone. */
function admin_stale_sentence(int $id, string $sent, ?array $now): string
{
    if ($now === null) {
        return "Message $id was deleted after you opened it, so nothing was saved. Your text is in the form:"
            . ' publish it as a new message if it is still needed.';
    }
    $was = explode(':', $sent);
    $changed = [];
    foreach (array_keys(admin_item_fields($now)) as $i => $field) {
        if (($was[$i + 1] ?? '') !== explode(':', admin_version($now))[$i + 1]) {
            $changed[] = $field;
        }
    }
    $what = $changed === [] || count($was) !== 5 ? 'it was saved again'
        : 'its ' . preg_replace('/, ([a-z]+)$/', ' and $1', implode(', ', $changed)) . ' changed';
    return "Someone else saved message $id after you opened it ($what), so nothing of yours was saved. Your"
        . ' version is in the form: save it again to replace theirs, or open the message anew to see theirs.';
}

/**
 * The body alone, for the sandboxed frame of the edit page: no script runs
 * (the frame's sandbox and this reply's own policy), nothing is fetched but
 * pictures, and only this site may frame it.
 */
function admin_preview(AdminStore $db, array $account): never
{
    if (AdminWeb::isPost()) {
        $body = AdminWeb::field('body');
    } else {
        $id = AdminWeb::newsId(AdminWeb::query('id'));
        $item = $id === null ? null : $db->item($account['publisher_id'], $id);
        if ($item === null) {
            throw new AdminReply(404, AdminPages::notFound());
        }
        $body = $item['body'];
    }
    $problem = NewsRules::pageProblem($body);
    // The program reads a body that is not UTF-8 in the Windows code page.
    $charset = $problem !== null || preg_match('//u', $body) === 1 ? 'utf-8' : 'windows-1252';
    AdminWeb::sendHeaders("sandbox; default-src 'none'; img-src https: http: data:; style-src 'unsafe-inline'; "
        . "font-src https: data:; base-uri 'none'; form-action 'none'; frame-ancestors 'self'", 'SAMEORIGIN',
        "text/html; charset=$charset");
    echo AdminPages::preview($body, $problem);
    exit;
}

function admin_delete(AdminStore $db, array $account): never
{
    $id = AdminWeb::newsId(AdminWeb::isPost() ? AdminWeb::field('id') : AdminWeb::query('id'));
    $item = $id === null ? null : $db->item($account['publisher_id'], $id);
    if ($item === null) {
        throw new AdminReply(404, AdminPages::notFound());
    }
    if (!AdminWeb::isPost()) {
        throw new AdminReply(200, AdminPages::confirmDelete($account, $item));
    }
    if (!$db->removeItem($account['publisher_id'], $id)) {
        throw new AdminReply(404, AdminPages::notFound());
    }
    throw AdminReply::redirect('index.php?done=deleted');
}

function admin_require_post(): void
{
    if (!AdminWeb::isPost()) {
        throw new AdminReply(405, AdminPages::message('Not allowed', 'This page only takes a form.', true),
            ['Allow' => 'POST']);
    }
}

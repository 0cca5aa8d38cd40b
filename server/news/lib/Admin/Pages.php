<?php
// The pages of the admin site. Every value is escaped where it is written
// (Html::escape), links and forms are relative, so that the site works under
// its own host or under a path, and there is no script: the policy forbids it.

declare(strict_types=1);

namespace Zolt\News\Admin;

final class Pages
{
    public function __construct(private readonly Html $html = new Html())
    {
    }

    private function page(string $title, string $main, ?array $account = null): string
    {
        $h = $this->html->escape(...);
        $nav = '';
        if ($account !== null) {
            $nav = '<nav aria-label="Account"><a href="index.php">Messages</a> <a href="edit.php">Write a message</a>'
                . ' <form method="post" action="signout.php" class="inline">'
                . '<input type="hidden" name="csrf" value="' . $h($account['csrf_token']) . '">'
                . '<button type="submit">Sign out ' . $h($account['user_name']) . '</button></form></nav>';
        }
        return '<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">'
            . '<meta name="viewport" content="width=device-width, initial-scale=1">'
            . '<title>' . $h($title) . ' – News admin</title><link rel="stylesheet" href="admin.css"></head>'
            . "<body><header><p class=\"site\">News admin</p>$nav</header><main><h1>" . $h($title) . "</h1>\n"
            . $main . "\n</main></body></html>\n";
    }

    public function message(string $title, string $text, bool $back = false): string
    {
        return $this->page($title, '<p role="alert">' . $this->html->escape($text) . '</p>'
            . ($back ? '<p><a href="index.php">Back to the messages</a></p>' : ''));
    }

    public function notFound(): string
    {
        return $this->message('Not found', 'There is no such message among yours.', true);
    }

    public function signIn(string $token, string $userName = '', string $error = ''): string
    {
        $h = $this->html->escape(...);
        return $this->page('Sign in', ($error !== '' ? '<p class="error" role="alert">' . $h($error) . '</p>' : '')
            . '<form method="post" action="signin.php" class="fields">'
            . '<input type="hidden" name="csrf" value="' . $h($token) . '">'
            . '<label for="user">Name</label><input id="user" name="user" autocomplete="username" required'
            . ' maxlength="100" value="' . $h($userName) . '" autofocus>'
            . '<label for="password">Password</label><input id="password" name="password" type="password"'
            . ' autocomplete="current-password" required>'
            . '<button type="submit">Sign in</button></form>');
    }

    /** @param list<array{news_id:string,title:string,news_date:string,product_code:?string}> $items */
    public function list(array $account, array $items, string $notice): string
    {
        $h = $this->html->escape(...);
        $rows = '';
        foreach ($items as $item) {
            $id = $h($item['news_id']);
            $rows .= "<tr><td>$id</td><td>" . $h($item['title']) . '</td><td>' . $h($item['news_date'])
                . '</td><td>' . ($item['product_code'] === null ? 'all products' : $h($item['product_code']))
                . "</td><td><a href=\"edit.php?id=$id\">Edit<span class=\"hidden\"> message $id</span></a> "
                . "<a href=\"delete.php?id=$id\">Delete<span class=\"hidden\"> message $id</span></a></td></tr>";
        }
        $table = $rows === '' ? '<p>No messages yet.</p>'
            : '<table><caption>Your messages, newest first</caption><thead><tr><th scope="col">Id</th>'
            . '<th scope="col">Title</th><th scope="col">Date</th><th scope="col">Product</th>'
            . '<th scope="col">Actions</th></tr></thead><tbody>' . $rows . '</tbody></table>';
        return $this->page('Messages of ' . $account['publisher_id'],
            ($notice !== '' ? '<p class="notice" role="status">' . $h($notice) . '</p>' : '')
            . '<p><a href="edit.php" class="button">Write a message</a></p>' . $table, $account);
    }

    /**
     * The form to write ($item['news_id'] '') or edit a message, with the
     * preview beside it: a frame without scripts, filled by preview.php.
     *
     * @param array{news_id:string,title:string,news_date:string,product_code:?string,body:string} $item
     * @param list<string> $products
     * @param string $version what the form was made from (Versions::of), '' for a new message
     */
    public function edit(array $account, array $item, array $products, array $errors, string $version): string
    {
        $h = $this->html->escape(...);
        $id = $item['news_id'];
        $options = '<option value="*">All products</option>';
        foreach ($products as $code) {
            $options .= '<option value="' . $h($code) . '"' . ($code === $item['product_code'] ? ' selected' : '')
                . '>' . $h($code) . '</option>';
        }
        $problems = '';
        foreach ($errors as $error) {
            $problems .= '<li>' . $h($error) . '</li>';
        }
        $frame = $id !== '' ? ' src="preview.php?id=' . $h($id) . '"' : '';
        // A line break right after <textarea> is dropped by the HTML parser:
        // this one, so that a body's own first line break stays.
        return $this->page($id === '' ? 'Write a message' : "Edit message $id",
            ($problems !== '' ? '<div class="error" role="alert"><p>Not saved:</p><ul>' . $problems . '</ul></div>' : '')
            . '<div class="editor"><form method="post" action="edit.php" enctype="multipart/form-data" class="fields">'
            . '<input type="hidden" name="csrf" value="' . $h($account['csrf_token']) . '">'
            . '<input type="hidden" name="id" value="' . $h($id) . '">'
            . '<input type="hidden" name="version" value="' . $h($version) . '">'
            . '<label for="title">Title</label><input id="title" name="title" required maxlength="255" value="'
            . $h($item['title']) . '">'
            . '<label for="date">Date (shown as written)</label><input id="date" name="date" maxlength="100" value="'
            . $h($item['news_date']) . '">'
            . '<label for="product">Product</label><select id="product" name="product">' . $options . '</select>'
            . '<label for="body">Message (HTML)</label><textarea id="body" name="body" rows="12" required>' . "\n"
            . $h($item['body']) . '</textarea>'
            . '<div class="buttons"><button type="submit" formaction="preview.php" formtarget="preview">Preview'
            . '</button> <button type="submit" name="save" value="1">' . ($id === '' ? 'Publish' : 'Save')
            . '</button> <a href="index.php">Cancel</a></div></form>'
            . '<section class="preview" aria-label="Preview"><h2>Preview</h2><iframe name="preview" title="Preview'
            . ' of the message as the program shows it" sandbox=""' . $frame . '></iframe></section></div>',
            $account);
    }

    /** @param array{news_id:string,title:string,news_date:string} $item */
    public function confirmDelete(array $account, array $item): string
    {
        $h = $this->html->escape(...);
        $id = $h($item['news_id']);
        return $this->page("Delete message $id", '<p>Delete the message “' . $h($item['title']) . '” of '
            . $h($item['news_date']) . '? Copies of the program no longer list it.</p>'
            . '<form method="post" action="delete.php"><input type="hidden" name="csrf" value="'
            . $h($account['csrf_token']) . "\"><input type=\"hidden\" name=\"id\" value=\"$id\">"
            . '<button type="submit">Delete</button> <a href="index.php">Keep it</a></form>', $account);
    }

    /** The body as the program lays it out, or as the plain text it shows instead with the reason. */
    public function preview(string $body, ?string $problem): string
    {
        if ($problem === null) {
            return $body;
        }
        return '<!DOCTYPE html><meta charset="utf-8"><p><strong>' . $this->html->escape($problem) . '</strong></p><pre>'
            . $this->html->escape(mb_strcut($body, 0, 65536, 'UTF-8')) . '</pre>';
    }
}

<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

use Zolt\News\Rules;

/**
 * The form to write or edit a message, and saving it: published with the next id, or saved over the
 * version the form was made from, never over a newer one.
 */
final class EditMessage implements Action
{
    private const NEW = ['news_id' => '', 'title' => '', 'news_date' => '', 'product_code' => null, 'body' => ''];

    public function __construct(private readonly Messages $messages, private readonly Pages $pages,
                                private readonly Rules $rules, private readonly Versions $versions = new Versions(),
                                private readonly Html $html = new Html())
    {
    }

    public function handle(Request $request, ?array $account): Reply
    {
        $idText = $request->newsIdText();
        $id = $request->newsId($idText);
        $stored = $id === null ? null : $this->messages->item($id);
        $products = $this->messages->products();
        if (!$request->isPost()) {
            return $idText !== '' && $stored === null ? new Reply(404, $this->pages->notFound())
                : new Reply(200, $this->pages->edit($account, $stored ?? ['news_date' => date('Y-m-d')] + self::NEW,
                    $products, [], $this->versions->of($stored)));
        }
        $sent = $request->field('version');
        if ($idText !== '' && $stored === null) {
            // A form of this site says which version it was made from: its message was deleted since.
            if ($id === null || $sent === '') {
                return new Reply(404, $this->pages->notFound());
            }
            return new Reply(409, $this->pages->edit($account, ['news_id' => ''] + $this->posted($request, null),
                $products, [$this->versions->staleSentence($id, $sent, null)], ''));
        }
        $item = $this->posted($request, $stored);
        $errors = array_values(array_filter([
            $this->rules->titleProblem($item['title']),
            $this->rules->dateProblem($item['news_date']),
            $item['product_code'] !== null && !in_array($item['product_code'], $products, true)
                ? 'There is no such product; choose one of the list.' : null,
            trim($item['body']) === '' ? 'A message needs a body.' : $this->rules->pageProblem($item['body']),
        ]));
        if ($errors !== []) {
            return new Reply(422, $this->pages->edit($account, $item, $products, $errors, $sent));
        }
        if ($stored === null) {
            $id = $this->messages->add($item['product_code'], $item['title'], $item['news_date'], $item['body']);
            return Reply::redirect("index.php?done=published&id=$id");
        }
        if ($sent !== $this->versions->of($stored) || !$this->messages->update($id, (int)$stored['revision'],
                $item['product_code'], $item['title'], $item['news_date'], $item['body'])) {
            $now = $this->messages->item($id);
            return new Reply(409, $this->pages->edit($account, $now === null ? ['news_id' => ''] + $item : $item,
                $products, [$this->versions->staleSentence($id, $sent, $now)], $this->versions->of($now)));
        }
        return Reply::redirect("index.php?done=saved&id=$id");
    }

    /** The message as the form sends it; a body sent back unchanged keeps the bytes of $stored. */
    private function posted(Request $request, ?array $stored): array
    {
        $product = $request->field('product');
        $date = $request->field('date');
        $item = ['news_id' => $stored['news_id'] ?? '', 'title' => $request->field('title'),
            'news_date' => $date === '' ? date('Y-m-d') : $date,
            'product_code' => $product === '*' || $product === '' ? null : $product, 'body' => $request->field('body')];
        // The form shows a body that is no UTF-8 as the program reads it (Windows-1252), and a browser sends
        // every line break back as CR LF.
        $lines = static fn(string $text): string => str_replace(["\r\n", "\r"], "\n", $text);
        if ($stored !== null && $lines($item['body']) === $lines($this->html->text($stored['body']))) {
            $item['body'] = $stored['body'];
        }
        return $item;
    }
}

<?php
// One publisher's news items and products, as its accounts see them. Every
// query names the publisher, so that an id of another publisher reads as one
// that does not exist.

declare(strict_types=1);

namespace Zolt\News\Admin;

use Zolt\News\Store;

final class Messages
{
    public function __construct(private readonly Store $store, public readonly string $publisherId)
    {
    }

    /** @return list<array{news_id:string,title:string,news_date:string,product_code:?string}> newest first */
    public function all(): array
    {
        return $this->store->rows('SELECT news_id, title, news_date, product_code FROM news
            WHERE publisher_id = ? ORDER BY news_id DESC', [$this->publisherId]);
    }

    /** @return ?array{news_id:string,title:string,news_date:string,product_code:?string,body:string,revision:string} */
    public function item(int $newsId): ?array
    {
        return $this->store->one('SELECT news_id, title, news_date, product_code, body, revision FROM news
            WHERE news_id = ? AND publisher_id = ?', [$newsId, $this->publisherId]);
    }

    /** Publishes a new item; its id. */
    public function add(?string $product, string $title, string $date, string $body): int
    {
        return $this->store->addNews($this->publisherId, $product, $title, $date, $body);
    }

    /** Saves the item if it is still at $revision; false when it is not (or gone). */
    public function update(int $newsId, int $revision, ?string $product, string $title, string $date,
                           string $body): bool
    {
        return $this->store->run('UPDATE news SET product_code = ?, title = ?, news_date = ?, body = ?,
            revision = revision + 1 WHERE news_id = ? AND publisher_id = ? AND revision = ?',
            [$product, $title, $date, $body, $newsId, $this->publisherId, $revision])->rowCount() > 0;
    }

    public function remove(int $newsId): bool
    {
        return $this->store->run('DELETE FROM news WHERE news_id = ? AND publisher_id = ?',
            [$newsId, $this->publisherId])->rowCount() > 0;
    }

    /** @return list<string> the products the publisher may send news for */
    public function products(): array
    {
        return $this->store->productsOf($this->publisherId);
    }
}

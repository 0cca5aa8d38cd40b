<?php
// What the admin site and admin.php's account commands keep in the news
// database: accounts, sign-in sessions, failed sign-ins, and one
// publisher's news items. Every query about an item names the publisher, so
// that an id from another publisher reads as one that does not exist.

declare(strict_types=1);

require_once __DIR__ . '/NewsStore.php';

final class AdminStore
{
    public function __construct(public readonly NewsStore $store)
    {
    }

    /** Argon2id where PHP has it (libargon2), else PHP's default (bcrypt). */
    public static function passwordAlgorithm(): string
    {
        return defined('PASSWORD_ARGON2ID') ? PASSWORD_ARGON2ID : PASSWORD_DEFAULT;
    }

    public static function passwordHash(string $password): string
    {
        return password_hash($password, self::passwordAlgorithm());
    }

    /** @return ?array{user_name:string,publisher_id:string,password_hash:string} */
    public function account(string $userName): ?array
    {
        return $this->store->one('SELECT user_name, publisher_id, password_hash FROM accounts WHERE user_name = ?',
            [$userName]);
    }

    public function addAccount(string $userName, string $publisherId, string $password): void
    {
        $this->store->run('INSERT INTO accounts (user_name, publisher_id, password_hash) VALUES (?, ?, ?)',
            [$userName, $publisherId, self::passwordHash($password)]);
    }

    /** Sets the password and ends the account's sessions; false when there is no such account. */
    public function setPassword(string $userName, string $password): bool
    {
        $changed = $this->store->run('UPDATE accounts SET password_hash = ? WHERE user_name = ?',
            [self::passwordHash($password), $userName])->rowCount() > 0;
        $this->endSessionsOf($userName);
        return $changed;
    }

    public function removeAccount(string $userName): bool
    {
        $this->endSessionsOf($userName);
        return $this->store->run('DELETE FROM accounts WHERE user_name = ?', [$userName])->rowCount() > 0;
    }

    /** @return list<array{user_name:string,publisher_id:string}> */
    public function accounts(): array
    {
        return $this->store->rows('SELECT user_name, publisher_id FROM accounts ORDER BY user_name', []);
    }

    // Sessions, by the SHA-256 of the cookie's value: a copy of the
    // database holds nothing that signs anybody in.

    public function addSession(string $sessionHash, string $userName, string $csrfToken, int $now): void
    {
        $this->store->run('INSERT INTO admin_sessions (session_hash, user_name, csrf_token, created_at, seen_at)
            VALUES (?, ?, ?, ?, ?)', [$sessionHash, $userName, $csrfToken, $now, $now]);
    }

    /** @return ?array{user_name:string,publisher_id:string,csrf_token:string,created_at:string,seen_at:string} */
    public function session(string $sessionHash): ?array
    {
        return $this->store->one('SELECT s.user_name, a.publisher_id, s.csrf_token, s.created_at, s.seen_at
            FROM admin_sessions s JOIN accounts a ON a.user_name = s.user_name WHERE s.session_hash = ?',
            [$sessionHash]);
    }

    public function touchSession(string $sessionHash, int $now): void
    {
        $this->store->run('UPDATE admin_sessions SET seen_at = ? WHERE session_hash = ?', [$now, $sessionHash]);
    }

    public function endSession(string $sessionHash): void
    {
        $this->store->run('DELETE FROM admin_sessions WHERE session_hash = ?', [$sessionHash]);
    }

    public function endSessionsOf(string $userName): void
    {
        $this->store->run('DELETE FROM admin_sessions WHERE user_name = ?', [$userName]);
    }

    public function endSessionsBefore(int $createdBefore, int $seenBefore): void
    {
        $this->store->run('DELETE FROM admin_sessions WHERE created_at < ? OR seen_at < ?',
            [$createdBefore, $seenBefore]);
    }

    // Failed sign-ins, per subject (an account name or an address).

    /** @return array{0:int,1:int} failures and the time of the last one */
    public function failures(string $subject): array
    {
        $row = $this->store->one('SELECT failures, last_at FROM sign_in_failures WHERE subject = ?', [$subject]);
        return $row === null ? [0, 0] : [(int)$row['failures'], (int)$row['last_at']];
    }

    /** Counts one more failure; an increment in the database, so that parallel tries are all counted. */
    public function recordFailure(string $subject, int $now): void
    {
        $increment = 'UPDATE sign_in_failures SET failures = failures + 1, last_at = ? WHERE subject = ?';
        if ($this->store->run($increment, [$now, $subject])->rowCount() > 0) {
            return;
        }
        try {
            $this->store->run('INSERT INTO sign_in_failures (subject, failures, last_at) VALUES (?, ?, ?)',
                [$subject, 1, $now]);
        } catch (PDOException) {
            // Another request made the row in the meantime.
            $this->store->run($increment, [$now, $subject]);
        }
    }

    public function clearFailures(string $subject): void
    {
        $this->store->run('DELETE FROM sign_in_failures WHERE subject = ?', [$subject]);
    }

    public function forgetFailuresBefore(int $time): void
    {
        $this->store->run('DELETE FROM sign_in_failures WHERE last_at < ?', [$time]);
    }

    // One publisher's news items.

    /** @return list<array{news_id:string,title:string,news_date:string,product_code:?string}> newest first */
    public function newsOf(string $publisherId): array
    {
        return $this->store->rows('SELECT news_id, title, news_date, product_code FROM news
            WHERE publisher_id = ? ORDER BY news_id DESC', [$publisherId]);
    }

    /** @return ?array{news_id:string,title:string,news_date:string,product_code:?string,body:string} */
    public function item(string $publisherId, int $newsId): ?array
    {
        return $this->store->one('SELECT news_id, title, news_date, product_code, body FROM news
            WHERE news_id = ? AND publisher_id = ?', [$newsId, $publisherId]);
    }

    public function updateItem(string $publisherId, int $newsId, ?string $product, string $title, string $date,
                               string $body): bool
    {
        return $this->store->run('UPDATE news SET product_code = ?, title = ?, news_date = ?, body = ?
            WHERE news_id = ? AND publisher_id = ?', [$product, $title, $date, $body, $newsId, $publisherId])
            ->rowCount() > 0 || $this->item($publisherId, $newsId) !== null;
    }

    public function removeItem(string $publisherId, int $newsId): bool
    {
        return $this->store->run('DELETE FROM news WHERE news_id = ? AND publisher_id = ?', [$newsId, $publisherId])
            ->rowCount() > 0;
    }

    /** @return list<string> */
    public function products(): array
    {
        return array_column($this->store->all('products'), 'product_code');
    }
}

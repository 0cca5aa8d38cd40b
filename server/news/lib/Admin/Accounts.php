<?php
// What the admin site and admin.php's account commands keep in the news
// database: accounts, sign-in sessions, sign-in attempts and the browsers
// that signed in before.

declare(strict_types=1);

namespace Zolt\News\Admin;

use PDOException;
use Zolt\News\Store;

final class Accounts
{
    public function __construct(private readonly Store $store)
    {
    }

    /** Argon2id where PHP has it (libargon2), else PHP's default (bcrypt). */
    public function passwordAlgorithm(): string
    {
        return defined('PASSWORD_ARGON2ID') ? PASSWORD_ARGON2ID : PASSWORD_DEFAULT;
    }

    public function passwordHash(string $password): string
    {
        return password_hash($password, $this->passwordAlgorithm());
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
            [$userName, $publisherId, $this->passwordHash($password)]);
    }

    /** Sets the password and ends the account's sessions; false when there is no such account. */
    public function setPassword(string $userName, string $password): bool
    {
        $changed = $this->store->run('UPDATE accounts SET password_hash = ? WHERE user_name = ?',
            [$this->passwordHash($password), $userName])->rowCount() > 0;
        $this->endSessionsOf($userName);
        return $changed;
    }

    public function removeAccount(string $userName): bool
    {
        $this->endSessionsOf($userName);
        $this->store->run('DELETE FROM admin_devices WHERE user_name = ?', [$userName]);
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

    // Sign-in attempts, per subject (an account name, an address or a browser
    // that signed in before). An attempt is counted before its password is
    // checked, in one statement that also refuses it while the subject waits,
    // so that parallel requests cannot slip past the count.

    /** Seconds until $subject may try again; 0 when it may now. */
    public function waitFor(string $subject, int $now): int
    {
        $row = $this->store->one('SELECT locked_until FROM sign_in_attempts WHERE subject = ?', [$subject]);
        return $row === null ? 0 : max(0, (int)$row['locked_until'] - $now);
    }

    /**
     * Counts an attempt of $subject; false (and nothing counted) while it must wait. The attempt that
     * reaches $free starts a wait of $firstWait seconds, doubled by each one after it up to $maxWait.
     */
    public function countAttempt(string $subject, int $now, int $free, int $firstWait, int $maxWait): bool
    {
        $waits = '';
        for ($step = 0, $wait = $firstWait; $wait < $maxWait; $step++, $wait *= 2) {
            $waits .= ' WHEN ' . ($free + $step) . " THEN $wait";
        }
        // locked_until first: MySQL reads a column assigned before it as its new value.
        $claim = "UPDATE sign_in_attempts SET locked_until = CASE WHEN attempts + 1 < $free THEN 0
            ELSE ? + CASE attempts + 1$waits ELSE $maxWait END END, attempts = attempts + 1, last_at = ?
            WHERE subject = ? AND locked_until <= ?";
        for ($try = 0; $try < 2; $try++) {
            if ($this->store->run($claim, [$now, $now, $subject, $now])->rowCount() > 0) {
                return true;
            }
            if ($this->store->one('SELECT attempts FROM sign_in_attempts WHERE subject = ?', [$subject]) !== null) {
                return false;
            }
            try {
                $this->store->run('INSERT INTO sign_in_attempts (subject, attempts, last_at, locked_until)
                    VALUES (?, 0, ?, 0)', [$subject, $now]);
            } catch (PDOException) {
                // Another request made the row in the meantime: count on it.
            }
        }
        return false;
    }

    /** Takes back one counted attempt of $subject, and the wait it started below $free attempts. */
    public function refundAttempt(string $subject, int $free): void
    {
        $this->store->run("UPDATE sign_in_attempts SET locked_until = CASE WHEN attempts - 1 < $free THEN 0
            ELSE locked_until END, attempts = attempts - 1 WHERE subject = ? AND attempts > 0", [$subject]);
    }

    public function clearAttempts(string $subject): void
    {
        $this->store->run('DELETE FROM sign_in_attempts WHERE subject = ?', [$subject]);
    }

    public function forgetAttemptsBefore(int $time): void
    {
        $this->store->run('DELETE FROM sign_in_attempts WHERE last_at < ?', [$time]);
    }

    // Browsers that signed in before, by the SHA-256 of their cookie's value.

    public function addDevice(string $deviceHash, string $userName, int $now): void
    {
        $this->store->run('INSERT INTO admin_devices (device_hash, user_name, created_at) VALUES (?, ?, ?)',
            [$deviceHash, $userName, $now]);
    }

    /** The account the browser signed in to before; null when it is unknown or older than $since. */
    public function deviceUser(string $deviceHash, int $since): ?string
    {
        $row = $this->store->one('SELECT user_name FROM admin_devices WHERE device_hash = ? AND created_at >= ?',
            [$deviceHash, $since]);
        return $row === null ? null : (string)$row['user_name'];
    }

    public function removeDevice(string $deviceHash): void
    {
        $this->store->run('DELETE FROM admin_devices WHERE device_hash = ?', [$deviceHash]);
    }

    public function forgetDevicesBefore(int $time): void
    {
        $this->store->run('DELETE FROM admin_devices WHERE created_at < ?', [$time]);
    }
}

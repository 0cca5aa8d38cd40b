<?php
// Signing in and out of the admin site. A session is a random cookie value
// whose hash the database keeps; a new one is made at every sign-in, so that
// a value planted before cannot become signed in. Before sign-in, the form's
// token is checked against a cookie of its own (the sign-in form is
// protected from other sites too). After five failed sign-ins for an
// account name, or from an address, the next ones wait.

declare(strict_types=1);

require_once __DIR__ . '/AdminStore.php';
require_once __DIR__ . '/AdminWeb.php';

final class AdminAuth
{
    private const SESSION = 'zolt-news-admin';
    private const PRE_SESSION = 'zolt-news-signin';
    private const IDLE_SECONDS = 30 * 60;
    private const MAX_SECONDS = 12 * 3600;
    public const FREE_FAILURES = 5;
    /** The wait after the fifth failure; it doubles with each further one, up to an hour. */
    private const FIRST_WAIT = 60;
    private const MAX_WAIT = 3600;
    /** Failures older than this are forgotten. */
    private const MEMORY_SECONDS = 24 * 3600;

    /** Checked for an unknown name, so that it takes as long as a known one. */
    private const DUMMY_HASH = '$argon2id$v=19$m=65536,t=4,p=1$TUh3VlIzTXhNL25iRWFtbw$'
        . 'shlREfT5vu1hql1yMoHT7xwsm8EeydRjGyPjE3RCxjE';

    public function __construct(private readonly AdminStore $db, private readonly int $now)
    {
    }

    /** @return ?array{user_name:string,publisher_id:string,csrf_token:string} the signed-in account */
    public function current(): ?array
    {
        $value = AdminWeb::cookie(self::SESSION);
        if ($value === '' || strlen($value) > 100) {
            return null;
        }
        $hash = hash('sha256', $value);
        $session = $this->db->session($hash);
        if ($session === null) {
            return null;
        }
        if ((int)$session['created_at'] < $this->now - self::MAX_SECONDS
            || (int)$session['seen_at'] < $this->now - self::IDLE_SECONDS) {
            $this->db->endSession($hash);
            return null;
        }
        if ((int)$session['seen_at'] < $this->now - 60) {
            $this->db->touchSession($hash, $this->now);
        }
        return $session;
    }

    /** The token of the sign-in form, kept in a cookie of its own until sign-in. */
    public function signInToken(): string
    {
        $token = AdminWeb::cookie(self::PRE_SESSION);
        if (preg_match('/^[A-Za-z0-9_-]{43}$/', $token) !== 1) {
            $token = AdminWeb::token();
            AdminWeb::setCookie(self::PRE_SESSION, $token);
        }
        return $token;
    }

    /** Refuses a changing request whose form token is missing or not this session's. */
    public static function checkToken(string $expected, string $sent): void
    {
        if ($expected === '' || $sent === '' || !hash_equals($expected, $sent)) {
            throw new AdminReply(403, AdminPages::message('Form refused',
                'This form was not sent from a page of this site opened in this session, so nothing was changed.'
                . ' Open the page again and repeat what you did.', true));
        }
    }

    /**
     * Signs in, or throws the reply that says why not. The same words for a
     * wrong name and a wrong password: nobody learns which names exist.
     */
    public function signIn(string $userName, string $password, string $address): void
    {
        self::checkToken(AdminWeb::cookie(self::PRE_SESSION), AdminWeb::field('csrf'));
        $subjects = ['account:' . hash('sha256', strtolower($userName)), 'address:' . $address];
        $wait = 0;
        foreach ($subjects as $subject) {
            $wait = max($wait, $this->waitFor($subject));
        }
        if ($wait > 0) {
            $minutes = (int)ceil($wait / 60);
            throw new AdminReply(429, AdminPages::signIn($this->signInToken(), $userName,
                "Too many failed sign-ins for this name or from this address. Try again in $minutes minute"
                . ($minutes === 1 ? '' : 's') . '.'), ['Retry-After' => (string)$wait]);
        }
        $account = strlen($userName) <= NewsRules::MAX_KEY_BYTES && strlen($password) <= 4096
            ? $this->db->account($userName) : null;
        $dummy = defined('PASSWORD_ARGON2ID') ? self::DUMMY_HASH : AdminStore::passwordHash('not a password');
        $valid = password_verify($password, $account['password_hash'] ?? $dummy) && $account !== null;
        if (!$valid) {
            $this->db->forgetFailuresBefore($this->now - self::MEMORY_SECONDS);
            foreach ($subjects as $subject) {
                $this->db->recordFailure($subject, $this->now);
            }
            throw new AdminReply(401, AdminPages::signIn($this->signInToken(), $userName,
                'The name or the password is wrong.'));
        }
        $this->db->clearFailures($subjects[0]);
        if (password_needs_rehash($account['password_hash'], AdminStore::passwordAlgorithm())) {
            $this->db->setPassword($userName, $password);
        }
        $this->db->endSessionsBefore($this->now - self::MAX_SECONDS, $this->now - self::IDLE_SECONDS);
        $value = AdminWeb::token();
        $this->db->addSession(hash('sha256', $value), $account['user_name'], AdminWeb::token(), $this->now);
        AdminWeb::setCookie(self::SESSION, $value);
        AdminWeb::setCookie(self::PRE_SESSION, '');
    }

    public function signOut(): void
    {
        $value = AdminWeb::cookie(self::SESSION);
        if ($value !== '') {
            $this->db->endSession(hash('sha256', $value));
        }
        AdminWeb::setCookie(self::SESSION, '');
    }

    /** Seconds until $subject may try again; 0 when it may now. */
    private function waitFor(string $subject): int
    {
        [$failures, $last] = $this->db->failures($subject);
        if ($failures < self::FREE_FAILURES || $last < $this->now - self::MEMORY_SECONDS) {
            return 0;
        }
        $wait = min(self::FIRST_WAIT << min($failures - self::FREE_FAILURES, 10), self::MAX_WAIT);
        return max(0, $last + $wait - $this->now);
    }
}

<?php
// Signing in and out of the admin site. A session is a random cookie value
// whose hash the database keeps; a new one is made at every sign-in, so that
// a value planted before cannot become signed in. Before sign-in, the form's
// token is checked against a cookie of its own (the sign-in form is
// protected from other sites too). After five sign-in attempts for an
// account name, or from an address, that did not succeed, the next ones
// wait; a browser that signed in to the account before keeps an allowance
// of its own, so that others guessing its password do not lock it out.

declare(strict_types=1);

require_once __DIR__ . '/AdminStore.php';
require_once __DIR__ . '/AdminWeb.php';

final class AdminAuth
{
    private const SESSION = 'zolt-news-admin';
    private const PRE_SESSION = 'zolt-news-signin';
    private const DEVICE = 'zolt-news-device';
    /** How long a browser that signed in keeps its own allowance. */
    private const DEVICE_SECONDS = 365 * 24 * 3600;
    public const MAX_PASSWORD_BYTES = 4096;
    private const IDLE_SECONDS = 30 * 60;
    private const MAX_SECONDS = 12 * 3600;
    public const FREE_FAILURES = 5;
    /** The wait after the fifth failure; it doubles with each further one, up to an hour. */
    private const FIRST_WAIT = 60;
    private const MAX_WAIT = 3600;
    /** Attempts older than this are forgotten. */
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
        if (strlen($password) > self::MAX_PASSWORD_BYTES) {
            throw new AdminReply(400, AdminPages::signIn($this->signInToken(), $userName, 'This password is '
                . strlen($password) . ' bytes long; no account has one longer than ' . self::MAX_PASSWORD_BYTES
                . ' bytes, so it was not checked.'));
        }
        $device = AdminWeb::cookie(self::DEVICE);
        $deviceHash = $device === '' || strlen($device) > 100 ? null : hash('sha256', $device);
        $known = $deviceHash !== null
            && $this->db->deviceUser($deviceHash, $this->now - self::DEVICE_SECONDS) === $userName;
        $subjects = $known ? ['device:' . $deviceHash]
            : ['account:' . hash('sha256', strtolower($userName)), 'address:' . $address];
        // Waiting subjects are seen before any is counted, so that a locked address does not use up the
        // allowance of the name it tries.
        $wait = max(array_map(fn(string $s): int => $this->db->waitFor($s, $this->now), $subjects));
        foreach ($subjects as $subject) {
            if ($wait === 0 && !$this->db->countAttempt($subject, $this->now, self::FREE_FAILURES,
                    self::FIRST_WAIT, self::MAX_WAIT)) {
                $wait = max(1, $this->db->waitFor($subject, $this->now));
            }
        }
        if ($wait > 0) {
            $minutes = (int)ceil($wait / 60);
            throw new AdminReply(429, AdminPages::signIn($this->signInToken(), $userName,
                "Too many failed sign-ins for this name or from this address. Try again in $minutes minute"
                . ($minutes === 1 ? '' : 's') . '.'), ['Retry-After' => (string)$wait]);
        }
        $account = strlen($userName) <= NewsRules::MAX_KEY_BYTES ? $this->db->account($userName) : null;
        $dummy = defined('PASSWORD_ARGON2ID') ? self::DUMMY_HASH : AdminStore::passwordHash('not a password');
        $valid = password_verify($password, $account['password_hash'] ?? $dummy) && $account !== null;
        if (!$valid) {
            $this->db->forgetAttemptsBefore($this->now - self::MEMORY_SECONDS);
            throw new AdminReply(401, AdminPages::signIn($this->signInToken(), $userName,
                'The name or the password is wrong.'));
        }
        // The name (or browser) starts afresh; the address only gets this attempt back.
        $this->db->clearAttempts($subjects[0]);
        if (isset($subjects[1])) {
            $this->db->refundAttempt($subjects[1], self::FREE_FAILURES);
        }
        if (password_needs_rehash($account['password_hash'], AdminStore::passwordAlgorithm())) {
            $this->db->setPassword($userName, $password);
        }
        $this->db->endSessionsBefore($this->now - self::MAX_SECONDS, $this->now - self::IDLE_SECONDS);
        $value = AdminWeb::token();
        $this->db->addSession(hash('sha256', $value), $account['user_name'], AdminWeb::token(), $this->now);
        AdminWeb::setCookie(self::SESSION, $value);
        AdminWeb::setCookie(self::PRE_SESSION, '');
        // A new device cookie at each sign-in: one that leaked earlier stops counting.
        if ($deviceHash !== null) {
            $this->db->removeDevice($deviceHash);
        }
        $this->db->forgetDevicesBefore($this->now - self::DEVICE_SECONDS);
        $device = AdminWeb::token();
        $this->db->addDevice(hash('sha256', $device), $account['user_name'], $this->now);
        AdminWeb::setCookie(self::DEVICE, $device, $this->now + self::DEVICE_SECONDS);
    }

    public function signOut(): void
    {
        $value = AdminWeb::cookie(self::SESSION);
        if ($value !== '') {
            $this->db->endSession(hash('sha256', $value));
        }
        AdminWeb::setCookie(self::SESSION, '');
    }
}

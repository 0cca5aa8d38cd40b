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

namespace Zolt\News\Admin;

use Zolt\News\Rules;

final class Auth
{
    public const MAX_PASSWORD_BYTES = 4096;
    private const SESSION = 'zolt-news-admin';
    private const PRE_SESSION = 'zolt-news-signin';
    private const DEVICE = 'zolt-news-device';
    private const IDLE_SECONDS = 30 * 60;
    private const MAX_SECONDS = 12 * 3600;
    /** How long a browser that signed in keeps its own allowance. */
    private const DEVICE_SECONDS = 365 * 24 * 3600;
    private const FREE_ATTEMPTS = 5;
    /** The wait after the fifth attempt; it doubles with each further one, up to an hour. */
    private const FIRST_WAIT = 60;
    private const MAX_WAIT = 3600;
    /** Attempts older than this are forgotten. */
    private const MEMORY_SECONDS = 24 * 3600;

    /** Checked for an unknown name, so that it takes as long as a known one. */
    private const DUMMY_HASH = '$argon2id$v=19$m=65536,t=4,p=1$TUh3VlIzTXhNL25iRWFtbw$'
        . 'shlREfT5vu1hql1yMoHT7xwsm8EeydRjGyPjE3RCxjE';

    public function __construct(private readonly Accounts $accounts, private readonly Request $request,
                                private readonly Cookies $cookies, private readonly int $now)
    {
    }

    /** @return ?array{user_name:string,publisher_id:string,csrf_token:string} the signed-in account */
    public function current(): ?array
    {
        $value = $this->request->cookie(self::SESSION);
        if ($value === '' || strlen($value) > 100) {
            return null;
        }
        $hash = hash('sha256', $value);
        $session = $this->accounts->session($hash);
        if ($session === null) {
            return null;
        }
        if ((int)$session['created_at'] < $this->now - self::MAX_SECONDS
            || (int)$session['seen_at'] < $this->now - self::IDLE_SECONDS) {
            $this->accounts->endSession($hash);
            return null;
        }
        if ((int)$session['seen_at'] < $this->now - 60) {
            $this->accounts->touchSession($hash, $this->now);
        }
        return $session;
    }

    /** The token of the sign-in form, kept in a cookie of its own until sign-in. */
    public function signInToken(): string
    {
        $token = $this->request->cookie(self::PRE_SESSION);
        if (preg_match('/^[A-Za-z0-9_-]{43}$/', $token) !== 1) {
            $token = $this->token();
            $this->cookies->set(self::PRE_SESSION, $token);
        }
        return $token;
    }

    /** Refuses a changing request whose form token is missing or not $expected. */
    public function checkToken(string $expected): void
    {
        $sent = $this->request->field('csrf');
        if ($expected === '' || $sent === '' || !hash_equals($expected, $sent)) {
            throw new HttpFailure(403, 'Form refused', 'This form was not sent from a page of this site opened in'
                . ' this session, so nothing was changed. Open the page again and repeat what you did.', [], true);
        }
    }

    /**
     * Signs in with the posted name and password: null, or why not. The same
     * words for a wrong name and a wrong password: nobody learns which names
     * exist. Each attempt is counted before its password is checked.
     */
    public function signIn(string $userName, string $password): ?Refusal
    {
        $this->checkToken($this->request->cookie(self::PRE_SESSION));
        if (strlen($password) > self::MAX_PASSWORD_BYTES) {
            return new Refusal(400, 'This password is ' . strlen($password) . ' bytes long; no account has one'
                . ' longer than ' . self::MAX_PASSWORD_BYTES . ' bytes, so it was not checked.');
        }
        $device = $this->request->cookie(self::DEVICE);
        $deviceHash = $device === '' || strlen($device) > 100 ? null : hash('sha256', $device);
        $known = $deviceHash !== null
            && $this->accounts->deviceUser($deviceHash, $this->now - self::DEVICE_SECONDS) === $userName;
        $subjects = $known ? ['device:' . $deviceHash]
            : ['account:' . hash('sha256', strtolower($userName)), 'address:' . $this->request->address()];
        $wait = $this->count($subjects);
        if ($wait > 0) {
            $minutes = (int)ceil($wait / 60);
            return new Refusal(429, "Too many failed sign-ins for this name or from this address. Try again in"
                . " $minutes minute" . ($minutes === 1 ? '' : 's') . '.', ['Retry-After' => (string)$wait]);
        }
        $account = strlen($userName) <= Rules::MAX_KEY_BYTES ? $this->accounts->account($userName) : null;
        $dummy = defined('PASSWORD_ARGON2ID') ? self::DUMMY_HASH : $this->accounts->passwordHash('not a password');
        if (!password_verify($password, $account['password_hash'] ?? $dummy) || $account === null) {
            $this->accounts->forgetAttemptsBefore($this->now - self::MEMORY_SECONDS);
            return new Refusal(401, 'The name or the password is wrong.');
        }
        // The name (or browser) starts afresh; the address only gets this attempt back.
        $this->accounts->clearAttempts($subjects[0]);
        if (isset($subjects[1])) {
            $this->accounts->refundAttempt($subjects[1], self::FREE_ATTEMPTS);
        }
        if (password_needs_rehash($account['password_hash'], $this->accounts->passwordAlgorithm())) {
            $this->accounts->setPassword($userName, $password);
        }
        $this->startSession($account['user_name'], $deviceHash);
        return null;
    }

    public function signOut(): void
    {
        $value = $this->request->cookie(self::SESSION);
        if ($value !== '') {
            $this->accounts->endSession(hash('sha256', $value));
        }
        $this->cookies->set(self::SESSION, '');
    }

    /**
     * Counts an attempt for each subject; the seconds to wait when one of them must wait first. Waiting
     * subjects are seen before any is counted, so that a locked address does not use up the allowance of
     * the name it tries.
     */
    private function count(array $subjects): int
    {
        $wait = max(array_map(fn(string $s): int => $this->accounts->waitFor($s, $this->now), $subjects));
        foreach ($subjects as $subject) {
            if ($wait === 0 && !$this->accounts->countAttempt($subject, $this->now, self::FREE_ATTEMPTS,
                    self::FIRST_WAIT, self::MAX_WAIT)) {
                $wait = max(1, $this->accounts->waitFor($subject, $this->now));
            }
        }
        return $wait;
    }

    /** A new session, and a new device cookie: one that leaked earlier stops counting. */
    private function startSession(string $userName, ?string $oldDeviceHash): void
    {
        $this->accounts->endSessionsBefore($this->now - self::MAX_SECONDS, $this->now - self::IDLE_SECONDS);
        $value = $this->token();
        $this->accounts->addSession(hash('sha256', $value), $userName, $this->token(), $this->now);
        $this->cookies->set(self::SESSION, $value);
        $this->cookies->set(self::PRE_SESSION, '');
        if ($oldDeviceHash !== null) {
            $this->accounts->removeDevice($oldDeviceHash);
        }
        $this->accounts->forgetDevicesBefore($this->now - self::DEVICE_SECONDS);
        $device = $this->token();
        $this->accounts->addDevice(hash('sha256', $device), $userName, $this->now);
        $this->cookies->set(self::DEVICE, $device, $this->now + self::DEVICE_SECONDS);
    }

    private function token(): string
    {
        return rtrim(strtr(base64_encode(random_bytes(32)), '+/', '-_'), '=');
    }
}

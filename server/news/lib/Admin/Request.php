<?php
// One request to the admin site as plain strings: the form fields, the query,
// the cookies and what the web server says about the connection.

declare(strict_types=1);

namespace Zolt\News\Admin;

final class Request
{
    /**
     * @param array<string,mixed> $query
     * @param array<string,mixed> $form
     * @param array<string,mixed> $cookies
     * @param array<string,mixed> $server
     */
    public function __construct(private readonly array $query, private readonly array $form,
                                private readonly array $cookies, private readonly array $server)
    {
    }

    public static function current(): self
    {
        return new self($_GET, $_POST, $_COOKIE, $_SERVER);
    }

    public function isPost(): bool
    {
        return ($this->server['REQUEST_METHOD'] ?? '') === 'POST';
    }

    public function isHttps(): bool
    {
        return ($this->server['HTTPS'] ?? '') !== '' && strtolower((string)$this->server['HTTPS']) !== 'off';
    }

    public function documentRoot(): string
    {
        return (string)($this->server['DOCUMENT_ROOT'] ?? '');
    }

    public function address(): string
    {
        return (string)($this->server['REMOTE_ADDR'] ?? '');
    }

    /** A posted field as a string; a missing one is '', any other shape (an array) is refused. */
    public function field(string $name): string
    {
        $value = $this->form[$name] ?? '';
        if (!is_string($value)) {
            throw new HttpFailure(400, 'Bad request', 'The form was not filled in as sent.');
        }
        return $value;
    }

    public function query(string $name): string
    {
        $value = $this->query[$name] ?? '';
        return is_string($value) ? $value : '';
    }

    /** The news id of the form when posted, else of the query. */
    public function newsIdText(): string
    {
        return $this->isPost() ? $this->field('id') : $this->query('id');
    }

    /** A news id: digits only, else none. */
    public function newsId(string $value): ?int
    {
        return preg_match('/^[1-9][0-9]{0,17}$/', $value) === 1 ? (int)$value : null;
    }

    /** The name the cookie $name of this site has on the wire: bound to the host under https. */
    public function cookieName(string $name): string
    {
        return ($this->isHttps() ? '__Host-' : '') . $name;
    }

    public function cookie(string $name): string
    {
        $value = $this->cookies[$this->cookieName($name)] ?? '';
        return is_string($value) ? $value : '';
    }
}

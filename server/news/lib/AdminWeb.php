<?php
// The HTTP side of the admin site: security headers on every reply, escaping,
// cookies, and the form fields of a request read as plain strings.

declare(strict_types=1);

/** A reply that ends the request: status, page and extra headers. */
final class AdminReply extends RuntimeException
{
    /** @param array<string,string> $headers */
    public function __construct(public readonly int $status, public readonly string $html = '',
                                public readonly array $headers = [])
    {
        parent::__construct("HTTP $status");
    }

    public static function redirect(string $to): self
    {
        return new self(303, '', ['Location' => $to]);
    }
}

final class AdminWeb
{
    /** Only the site's own style sheet, forms and frames; no script at all. */
    public const PAGE_POLICY = "default-src 'none'; style-src 'self'; img-src 'self'; frame-src 'self'; "
        . "form-action 'self'; base-uri 'none'; frame-ancestors 'none'";

    public static function isHttps(): bool
    {
        return ($_SERVER['HTTPS'] ?? '') !== '' && strtolower((string)$_SERVER['HTTPS']) !== 'off';
    }

    /** The headers of every reply; $policy and $framing differ for the preview only. */
    public static function sendHeaders(string $policy = self::PAGE_POLICY, string $framing = 'DENY',
                                       string $type = 'text/html; charset=utf-8'): void
    {
        header("Content-Type: $type");
        header("Content-Security-Policy: $policy");
        header('X-Content-Type-Options: nosniff');
        header('Referrer-Policy: no-referrer');
        header("X-Frame-Options: $framing");
        header('Cross-Origin-Opener-Policy: same-origin');
        header('Cache-Control: no-store');
        if (self::isHttps()) {
            header('Strict-Transport-Security: max-age=31536000');
        }
    }

    /** Text for an element's content or a quoted attribute value. */
    public static function h(?string $text): string
    {
        return htmlspecialchars((string)$text, ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML5, 'UTF-8');
    }

    /** A cookie name of this site: bound to the host and to https where there is https. */
    public static function cookieName(string $name): string
    {
        return (self::isHttps() ? '__Host-' : '') . $name;
    }

    public static function cookie(string $name): string
    {
        $value = $_COOKIE[self::cookieName($name)] ?? '';
        return is_string($value) ? $value : '';
    }

    /** Sets (or with $value '' removes) a cookie that no script and no other site's request sees. */
    public static function setCookie(string $name, string $value): void
    {
        setcookie(self::cookieName($name), $value, [
            'expires' => $value === '' ? 1 : 0,
            'path' => '/',
            'secure' => self::isHttps(),
            'httponly' => true,
            'samesite' => 'Strict',
        ]);
    }

    /** A posted field as a string; a missing one is '', any other shape (an array) is refused. */
    public static function field(string $name): string
    {
        $value = $_POST[$name] ?? '';
        if (!is_string($value)) {
            throw new AdminReply(400, AdminPages::message('Bad request', 'The form was not filled in as sent.'));
        }
        return $value;
    }

    /** A news id from the query or the form: digits only, else none. */
    public static function newsId(string $value): ?int
    {
        return preg_match('/^[1-9][0-9]{0,17}$/', $value) === 1 ? (int)$value : null;
    }

    public static function query(string $name): string
    {
        $value = $_GET[$name] ?? '';
        return is_string($value) ? $value : '';
    }

    public static function isPost(): bool
    {
        return ($_SERVER['REQUEST_METHOD'] ?? '') === 'POST';
    }

    public static function token(): string
    {
        return rtrim(strtr(base64_encode(random_bytes(32)), '+/', '-_'), '=');
    }
}

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

    /** Text for an element's content or a quoted attribute value; bytes that are no UTF-8 as text() reads them. */
    public static function h(?string $text): string
    {
        return htmlspecialchars(self::text((string)$text), ENT_QUOTES | ENT_HTML5, 'UTF-8');
    }

    /**
     * Stored bytes as the program reads them: UTF-8 when they are, else Windows-1252 (its five unused
     * codes as the C1 controls of the same number, as Windows reads them).
     */
    public static function text(string $bytes): string
    {
        static $cp1252 = null;
        if (preg_match('//u', $bytes) === 1) {
            return $bytes;
        }
        if ($cp1252 === null) {
            for ($byte = 0x80; $byte <= 0xFF; $byte++) {
                $char = mb_convert_encoding(chr($byte), 'UTF-8', 'Windows-1252');
                $cp1252[chr($byte)] = $char === '?' ? mb_chr($byte, 'UTF-8') : $char;
            }
        }
        return strtr($bytes, $cp1252);
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

    /**
     * Sets (or with $value '' removes) a cookie that no script and no other site's request sees; it ends
     * with the browser's session, or at the time $expires.
     */
    public static function setCookie(string $name, string $value, int $expires = 0): void
    {
        setcookie(self::cookieName($name), $value, [
            'expires' => $value === '' ? 1 : $expires,
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

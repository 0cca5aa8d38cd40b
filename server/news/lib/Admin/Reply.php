<?php
// What a page of the admin site answers: status, page and headers, with the
// security headers of every reply under them.

declare(strict_types=1);

namespace Zolt\News\Admin;

final class Reply
{
    /** Only the site's own style sheet, forms and frames; no script at all. */
    public const PAGE_POLICY = "default-src 'none'; style-src 'self'; img-src 'self'; frame-src 'self'; "
        . "form-action 'self'; base-uri 'none'; frame-ancestors 'none'";

    /** @param array<string,string> $headers over those of every reply */
    public function __construct(public readonly int $status, public readonly string $html = '',
                                public readonly array $headers = [])
    {
    }

    public static function redirect(string $to): self
    {
        return new self(303, '', ['Location' => $to]);
    }

    public function send(Request $request, Cookies $cookies): void
    {
        http_response_code($this->status);
        if (!headers_sent()) {
            $headers = array_merge([
                'Content-Type' => 'text/html; charset=utf-8',
                'Content-Security-Policy' => self::PAGE_POLICY,
                'X-Content-Type-Options' => 'nosniff',
                'Referrer-Policy' => 'no-referrer',
                'X-Frame-Options' => 'DENY',
                'Cross-Origin-Opener-Policy' => 'same-origin',
                'Cache-Control' => 'no-store',
            ], $request->isHttps() ? ['Strict-Transport-Security' => 'max-age=31536000'] : [], $this->headers);
            foreach ($headers as $name => $value) {
                header("$name: $value");
            }
            $cookies->send();
        }
        echo $this->html;
    }
}

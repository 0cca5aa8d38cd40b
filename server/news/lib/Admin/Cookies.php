<?php
// The cookies a reply sets: none a script or another site's request sees,
// bound to the host and to https where there is https (Request::cookieName).

declare(strict_types=1);

namespace Zolt\News\Admin;

final class Cookies
{
    /** @var array<string,array{0:string,1:int}> name => [value, expires] */
    private array $set = [];

    public function __construct(private readonly Request $request)
    {
    }

    /** Sets (or with $value '' removes) a cookie; it ends with the browser's session, or at the time $expires. */
    public function set(string $name, string $value, int $expires = 0): void
    {
        $this->set[$name] = [$value, $value === '' ? 1 : $expires];
    }

    public function send(): void
    {
        foreach ($this->set as $name => [$value, $expires]) {
            setcookie($this->request->cookieName($name), $value, [
                'expires' => $expires,
                'path' => '/',
                'secure' => $this->request->isHttps(),
                'httponly' => true,
                'samesite' => 'Strict',
            ]);
        }
    }
}

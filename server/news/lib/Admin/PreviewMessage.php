<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

use Zolt\News\Rules;

/**
 * The body alone, for the sandboxed frame of the edit page: no script runs
 * (the frame's sandbox and this reply's own policy), nothing is fetched but
 * pictures, and only this site may frame it.
 */
final class PreviewMessage implements Action
{
    private const POLICY = "sandbox; default-src 'none'; img-src https: http: data:; style-src 'unsafe-inline'; "
        . "font-src https: data:; base-uri 'none'; form-action 'none'; frame-ancestors 'self'";

    public function __construct(private readonly Messages $messages, private readonly Pages $pages,
                                private readonly Rules $rules)
    {
    }

    public function handle(Request $request, ?array $account): Reply
    {
        if ($request->isPost()) {
            $body = $request->field('body');
        } else {
            $id = $request->newsId($request->query('id'));
            $item = $id === null ? null : $this->messages->item($id);
            if ($item === null) {
                return new Reply(404, $this->pages->notFound());
            }
            $body = $item['body'];
        }
        $problem = $this->rules->pageProblem($body);
        // The program reads a body that is not UTF-8 in the Windows code page.
        $charset = $problem !== null || preg_match('//u', $body) === 1 ? 'utf-8' : 'windows-1252';
        return new Reply(200, $this->pages->preview($body, $problem), ['Content-Security-Policy' => self::POLICY,
            'X-Frame-Options' => 'SAMEORIGIN', 'Content-Type' => "text/html; charset=$charset"]);
    }
}

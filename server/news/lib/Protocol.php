<?php
// The wire format of the news server: the replies of getlastnews.php and
// getnewsdetails.php, built from the posted form fields, and their HTTP side.
// README.md describes every reply.

declare(strict_types=1);

namespace Zolt\News;

final class Protocol
{
    public const RECORD_SEPARATOR = "\xAF";
    public const FIELD_SEPARATOR = '^';
    public const OK = 'OK';

    /** @param \Closure(): Store $openStore */
    public function __construct(private readonly \Closure $openStore)
    {
    }

    /** Answers the current HTTP request with getlastnews.php's reply, or with getnewsdetails.php's for $details. */
    public static function serve(bool $details): void
    {
        // A PHP notice in the body would turn a valid reply into garbage for the client.
        ini_set('display_errors', '0');
        // The reply is bytes in whatever set the titles were written in: claim none.
        ini_set('default_charset', '');
        header('Content-Type: text/plain');
        header('Cache-Control: no-store');
        if (($_SERVER['REQUEST_METHOD'] ?? '') !== 'POST') {
            http_response_code(405);
            header('Allow: POST');
            echo 'INVALIDREQUEST';
            return;
        }
        // A database file in the served folders could be downloaded by anybody:
        // the document root, and the folder of the request scripts themselves
        // (which a web server may serve under an alias elsewhere).
        $served = [(string)($_SERVER['DOCUMENT_ROOT'] ?? ''), dirname(get_included_files()[0])];
        $protocol = new self(static fn(): Store => Store::open(false, null, $served));
        echo $details ? $protocol->details($_POST) : $protocol->lastNews($_POST);
    }

    /** Reply of getlastnews.php: conttype "all" or "lastcode". */
    public function lastNews(array $post): string
    {
        $kind = (string)($post['conttype'] ?? '');
        if ($kind !== 'all' && $kind !== 'lastcode') {
            return 'INVALIDREQUEST';
        }
        return $this->guarded(function (Store $store) use ($post, $kind): string {
            $error = $this->identityError($store, $post);
            if ($error !== null) {
                return $error;
            }
            if ($kind === 'lastcode') {
                $top = $store->newestFor((string)$post['memusername'], (string)$post['prodcode']);
                return $top === null ? self::OK : $top['news_id'] . self::FIELD_SEPARATOR
                    . $this->titleField($top['title']) . self::RECORD_SEPARATOR . self::OK;
            }
            $reply = '';
            foreach ($store->newsFor((string)$post['memusername'], (string)$post['prodcode']) as $item) {
                $reply .= $item['news_id'] . self::FIELD_SEPARATOR . $this->titleField($item['title'])
                    . self::FIELD_SEPARATOR . $this->field($item['news_date']) . self::RECORD_SEPARATOR;
            }
            return $reply . self::OK;
        });
    }

    /** Reply of getnewsdetails.php. */
    public function details(array $post): string
    {
        return $this->guarded(function (Store $store) use ($post): string {
            $error = $this->identityError($store, $post);
            if ($error !== null) {
                return $error;
            }
            $id = (string)($post['newsid'] ?? '');
            // Digits only and short enough for an integer: anything else names no item.
            $body = preg_match('/^[0-9]{1,18}$/', $id) === 1
                ? $store->newsBody((string)$post['memusername'], (string)$post['prodcode'], (int)$id) : null;
            return $body === null ? 'INVALIDNEWS' : $this->escapeDetails($body) . self::RECORD_SEPARATOR . self::OK;
        });
    }

    /**
     * Writes a details body as "$hh" escapes. Only ASCII letters and digits stay
     * as they are: the client trims blanks and line breaks at the ends of the
     * reply, cuts records at 0xAF and reads "$" as the start of an escape, and the
     * page may be in any character set, so every other byte is escaped.
     */
    public function escapeDetails(string $html): string
    {
        return preg_replace_callback('/[^A-Za-z0-9]/',
            static fn(array $m): string => sprintf('$%02X', ord($m[0])), $html);
    }

    /**
     * A date as a record field. admin.php and the admin site refuse the bytes
     * that would break the record; rows written by other means are mended here
     * so that one bad row cannot garble the whole list.
     */
    public function field(string $text): string
    {
        return preg_replace('/[\x00-\x1F\x7F\xAF^]/', ' ', $text);
    }

    /**
     * A title as a record field. The letters whose UTF-8 holds the byte 0xAF,
     * the record separator (Cyrillic "Я", Chinese "是", Persian "گ" and many
     * more), go as decimal character references, which the program turns back
     * into the letter; so does a "&" that would otherwise read as the start of
     * one. Every other byte goes as stored. A title that is no UTF-8 (written
     * before titles had to be) is mended as a date is.
     */
    public function titleField(string $title): string
    {
        if (preg_match('//u', $title) !== 1) {
            return $this->field($title);
        }
        return $this->field(preg_replace_callback('/&(?=#([0-9]{1,7});)|[^\x00-\x7F]/u', function (array $m): string {
            if ($m[0] === '&') {
                return $this->referenceDecodes((int)$m[1]) ? '&#38;' : '&';
            }
            return str_contains($m[0], "\xAF") ? '&#' . mb_ord($m[0], 'UTF-8') . ';' : $m[0];
        }, $title));
    }

    /** Whether the program turns "&#$code;" in a title into a character: "&", or a letter that holds 0xAF. */
    private function referenceDecodes(int $code): bool
    {
        $char = $code <= 0x10FFFF ? mb_chr($code, 'UTF-8') : false;
        return $code === 38 || ($char !== false && str_contains($char, "\xAF"));
    }

    /** The error word of the identity fields, or null when they are valid. */
    private function identityError(Store $store, array $post): ?string
    {
        $publisher = (string)($post['memusername'] ?? '');
        $product = (string)($post['prodcode'] ?? '');
        [$level, $productExists] = $store->identity($publisher, $product);
        if ($publisher === '' || $level === null || $level !== (string)($post['prodtype'] ?? '')) {
            return 'INVALIDUSER';
        }
        return $product === '' || !$productExists ? 'INVALIDPRODUCT' : null;
    }

    /** Builds a reply on the opened database; any database failure becomes "CONNECTIONFAIL". */
    private function guarded(\Closure $build): string
    {
        try {
            return $build(($this->openStore)());
        } catch (StoreUnavailable | \PDOException $e) {
            // The reseller finds the cause in the web server's error log.
            error_log('news server: database unavailable: ' . $e->getMessage());
            return 'CONNECTIONFAIL';
        }
    }
}

<?php
// The wire format of the news server: the replies of getlastnews.php and
// getnewsdetails.php, built from the posted form fields. Kept apart from the
// two entry scripts so that tests can call the reply functions directly.

declare(strict_types=1);

require_once __DIR__ . '/NewsStore.php';

const NEWS_RECORD_SEPARATOR = "\xAF";
const NEWS_FIELD_SEPARATOR = '^';
const NEWS_OK = 'OK';

/**
 * Writes a details body as "$hh" escapes. Only ASCII letters and digits stay
 * as they are: the client trims blanks and line breaks at the ends of the
 * reply, cuts records at 0xAF and reads "$" as the start of an escape, and the
 * page may be in any character set, so every other byte is escaped.
 */
function news_escape_details(string $html): string
{
    return preg_replace_callback('/[^A-Za-z0-9]/',
        static fn(array $m): string => sprintf('$%02X', ord($m[0])), $html);
}

/**
 * A date as a record field. admin.php and the admin site refuse the bytes
 * that would break the record; rows written by other means are mended here
 * so that one bad row cannot garble the whole list.
 */
function news_field(string $text): string
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
function news_title_field(string $title): string
{
    if (preg_match('//u', $title) !== 1) {
        return news_field($title);
    }
    return news_field(preg_replace_callback('/&(?=#([0-9]{1,7});)|[^\x00-\x7F]/u', static function (array $m): string {
        if ($m[0] === '&') {
            return news_reference_decodes((int)$m[1]) ? '&#38;' : '&';
        }
        return str_contains($m[0], "\xAF") ? '&#' . mb_ord($m[0], 'UTF-8') . ';' : $m[0];
    }, $title));
}

/** Whether the program turns "&#$code;" in a title into a character: "&", or a letter that holds 0xAF. */
function news_reference_decodes(int $code): bool
{
    $char = $code <= 0x10FFFF ? mb_chr($code, 'UTF-8') : false;
    return $code === 38 || ($char !== false && str_contains($char, "\xAF"));
}

/** Checks the identity fields; returns the error word, or null when they are valid. */
function news_identity_error(NewsStore $store, array $post): ?string
{
    $publisher = (string)($post['memusername'] ?? '');
    $product = (string)($post['prodcode'] ?? '');
    [$level, $productExists] = $store->identity($publisher, $product);
    if ($publisher === '' || $level === null || $level !== (string)($post['prodtype'] ?? '')) {
        return 'INVALIDUSER';
    }
    if ($product === '' || !$productExists) {
        return 'INVALIDPRODUCT';
    }
    return null;
}

/** Reply of getlastnews.php: conttype "all" or "lastcode". */
function news_reply_lastnews(array $post, callable $openStore): string
{
    $kind = (string)($post['conttype'] ?? '');
    if ($kind !== 'all' && $kind !== 'lastcode') {
        return 'INVALIDREQUEST';
    }
    return news_guarded(static function () use ($post, $openStore, $kind): string {
        $store = $openStore();
        $error = news_identity_error($store, $post);
        if ($error !== null) {
            return $error;
        }
        if ($kind === 'lastcode') {
            $top = $store->newestFor((string)$post['memusername'], (string)$post['prodcode']);
            if ($top === null) {
                return NEWS_OK;
            }
            return $top['news_id'] . NEWS_FIELD_SEPARATOR . news_title_field($top['title'])
                . NEWS_RECORD_SEPARATOR . NEWS_OK;
        }
        $items = $store->newsFor((string)$post['memusername'], (string)$post['prodcode']);
        $reply = '';
        foreach ($items as $item) {
            $reply .= $item['news_id'] . NEWS_FIELD_SEPARATOR . news_title_field($item['title'])
                . NEWS_FIELD_SEPARATOR . news_field($item['news_date']) . NEWS_RECORD_SEPARATOR;
        }
        return $reply . NEWS_OK;
    });
}

/** Reply of getnewsdetails.php. */
function news_reply_details(array $post, callable $openStore): string
{
    return news_guarded(static function () use ($post, $openStore): string {
        $store = $openStore();
        $error = news_identity_error($store, $post);
        if ($error !== null) {
            return $error;
        }
        $id = (string)($post['newsid'] ?? '');
        // Digits only and short enough for an integer: anything else names no item.
        if (preg_match('/^[0-9]{1,18}$/', $id) !== 1) {
            return 'INVALIDNEWS';
        }
        $body = $store->newsBody((string)$post['memusername'], (string)$post['prodcode'], (int)$id);
        if ($body === null) {
            return 'INVALIDNEWS';
        }
        return news_escape_details($body) . NEWS_RECORD_SEPARATOR . NEWS_OK;
    });
}

/** Runs a reply builder; any database failure becomes "CONNECTIONFAIL". */
function news_guarded(callable $build): string
{
    try {
        return $build();
    } catch (NewsStoreUnavailable | PDOException $e) {
        // The reseller finds the cause in the web server's error log.
        error_log('news server: database unavailable: ' . $e->getMessage());
        return 'CONNECTIONFAIL';
    }
}

/** Answers the current HTTP request with the reply built by $reply. */
function news_serve(callable $reply): void
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
    echo $reply($_POST, static fn(): NewsStore => NewsStore::open(false, null, $served));
}

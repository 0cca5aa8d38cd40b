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
 * A title or date as a record field. admin.php refuses the bytes that would
 * break the record; rows written by other means are mended here so that one
 * bad row cannot garble the whole list.
 */
function news_field(string $text): string
{
    return preg_replace('/[\x00-\x1F\x7F\xAF^]/', ' ', $text);
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
            return $top['news_id'] . NEWS_FIELD_SEPARATOR . news_field($top['title'])
                . NEWS_RECORD_SEPARATOR . NEWS_OK;
        }
        $items = $store->newsFor((string)$post['memusername'], (string)$post['prodcode']);
        $reply = '';
        foreach ($items as $item) {
            $reply .= $item['news_id'] . NEWS_FIELD_SEPARATOR . news_field($item['title'])
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

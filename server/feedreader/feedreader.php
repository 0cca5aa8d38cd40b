<?php
/*
 * feedreader.php - shows a news feed or a list of eBay items on a PHP page.
 *
 * Upload this file beside the page and paste the snippet that RSS Feed Zolt
 * wrote where the list belongs, for example:
 *
 *   <?php
 *   include_once "feedreader.php";
 *   getnewsfeed("https://www.example.com/feed.xml",120,1,10);
 *   ?>
 *
 * getnewsfeed($url, $cacheSeconds, $showTitles, $numItems)
 *   $url           an http or https address of an RSS 2.0, RSS 1.0 (RDF) or
 *                  Atom feed, in any character set it declares. The search
 *                  addresses that the tool composes for Google News, Yahoo
 *                  News and BBC News are turned into the services' current
 *                  search feeds (BBC: a Google News search limited to
 *                  bbc.co.uk).
 *   $cacheSeconds  how long a fetched feed is reused before it is fetched
 *                  again; 0 or less: fetched at every page view, not stored.
 *                  When a fetch fails, the last good copy is shown instead.
 *   $showTitles    1: the feed's own title, linked to its site, stands above
 *                  the list; 0: the list alone. Item titles always show.
 *   $numItems      the most items listed; 0 or less lists none.
 *
 * getebayfeed($campaignId, $siteId, $keyword, $altKeyword, $cacheSeconds, $numItems)
 *   $campaignId    your eBay Partner Network campaign id, put into every link.
 *   $siteId        the eBay site as the tool numbers them (0 United States,
 *                  3 United Kingdom, 77 Germany, ...).
 *   $keyword       what to search for; $altKeyword is searched when the main
 *                  keyword finds nothing.
 *   $cacheSeconds, $numItems  as above.
 *   With eBay API keys in feedreader-config.php it lists items with picture,
 *   title and price, each linked with your campaign id. Without keys, or when
 *   eBay cannot be reached, it shows search links for both keywords on that
 *   eBay site instead, again carrying the campaign id.
 *
 * Output: a <div class="feedreader"> holding an optional
 * <h3 class="feedreader-feedtitle"> and a <ul class="feedreader-items"> of
 * <li class="feedreader-item"> (link, <span class="feedreader-date">,
 * <p class="feedreader-summary">, for eBay <img class="feedreader-picture">
 * and <span class="feedreader-price">), in UTF-8, every text escaped. Feed
 * summaries are plain text: tags and scripts are removed. A failure shows
 * one <li class="feedreader-error"> with a short message, never a PHP warning.
 *
 * Settings: copy feedreader-config.sample.php to feedreader-config.php beside
 * this file. Needs PHP 8.2 with the curl and xml (DOM) extensions; mbstring or
 * iconv for feeds that are not in UTF-8. The cache lives in the folder
 * "feedreader-cache" beside this file, or in the system's temporary folder
 * when that cannot be written.
 */

declare(strict_types=1);

const FEEDREADER_USER_AGENT = 'Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 '
    . '(KHTML, like Gecko) Chrome/124.0.0.0 Safari/537.36';
const FEEDREADER_SUMMARY_CHARS = 300;
// Every cache file starts with this, so that a cache folder under the web
// root shows nothing to a visitor who guesses a file name.
const FEEDREADER_CACHE_GUARD = "<?php exit; ?>\n";

/*
 * eBay sites by the tool's site id: name, Browse API marketplace, web site,
 * language, and the partner network's rotation id for tracked links ("" where
 * the network has none). China, India and Sweden have no eBay site of their
 * own any more; their buyers are served by the international site.
 */
const FEEDREADER_EBAY_SITES = [
    '15' => ['Australia', 'EBAY_AU', 'www.ebay.com.au', 'en-AU', '705-53470-19255-0'],
    '16' => ['Austria', 'EBAY_AT', 'www.ebay.at', 'de-AT', '5221-53469-19255-0'],
    '123' => ['Belgium(Dutch)', 'EBAY_BE', 'www.benl.ebay.be', 'nl-BE', '1553-53471-19255-0'],
    '23' => ['Belgium(French)', 'EBAY_BE', 'www.befr.ebay.be', 'fr-BE', '1553-53471-19255-0'],
    '2' => ['Canada', 'EBAY_CA', 'www.ebay.ca', 'en-CA', '706-53473-19255-0'],
    '223' => ['China', 'EBAY_US', 'www.ebay.com', 'en-US', '711-53200-19255-0'],
    '71' => ['France', 'EBAY_FR', 'www.ebay.fr', 'fr-FR', '709-53476-19255-0'],
    '77' => ['Germany', 'EBAY_DE', 'www.ebay.de', 'de-DE', '707-53477-19255-0'],
    '201' => ['Hong Kong', 'EBAY_HK', 'www.ebay.com.hk', 'zh-HK', ''],
    '205' => ['Ireland', 'EBAY_IE', 'www.ebay.ie', 'en-IE', '5282-53468-19255-0'],
    '203' => ['India', 'EBAY_US', 'www.ebay.com', 'en-US', '711-53200-19255-0'],
    '101' => ['Italy', 'EBAY_IT', 'www.ebay.it', 'it-IT', '724-53478-19255-0'],
    '107' => ['Malaysia', 'EBAY_MY', 'www.ebay.com.my', 'en-MY', ''],
    '146' => ['Netherlands', 'EBAY_NL', 'www.ebay.nl', 'nl-NL', '1346-53482-19255-0'],
    '211' => ['Philippines', 'EBAY_PH', 'www.ebay.ph', 'en-PH', ''],
    '212' => ['Poland', 'EBAY_PL', 'www.ebay.pl', 'pl-PL', '4908-226936-19255-0'],
    '216' => ['Singapore', 'EBAY_SG', 'www.ebay.com.sg', 'en-SG', ''],
    '218' => ['Sweden', 'EBAY_US', 'www.ebay.com', 'en-US', '711-53200-19255-0'],
    '186' => ['Spain', 'EBAY_ES', 'www.ebay.es', 'es-ES', '1185-53479-19255-0'],
    '193' => ['Switzerland', 'EBAY_CH', 'www.ebay.ch', 'de-CH', '5222-53480-19255-0'],
    '196' => ['Taiwan', 'EBAY_TW', 'www.ebay.com.tw', 'zh-TW', ''],
    '3' => ['United Kingdom', 'EBAY_GB', 'www.ebay.co.uk', 'en-GB', '710-53481-19255-0'],
    '0' => ['United States', 'EBAY_US', 'www.ebay.com', 'en-US', '711-53200-19255-0'],
];

final class FeedreaderError extends Exception
{
}

/* ------------------------------------------------------------------ news */

function getnewsfeed($url, $cacheSeconds = 120, $showTitles = 1, $numItems = 10): void
{
    feedreader_print(static function () use ($url, $cacheSeconds, $showTitles, $numItems): string {
        $settings = feedreader_settings();
        $address = feedreader_current_search_url(trim((string)$url), $settings);
        if (!feedreader_is_web_address($address)) {
            throw new FeedreaderError('This feed address is not an http or https address.');
        }
        $feed = feedreader_cached('news', $address, (int)$cacheSeconds,
            static fn(): array => feedreader_parse_feed(...feedreader_fetch_or_fail($address, $settings)), $settings);
        return feedreader_render_feed($feed, (int)$showTitles === 1, (int)$numItems);
    });
}

/**
 * The address to fetch for a feed address: the search forms that the tool
 * composes were retired by their services, so they are asked in the current
 * form; every other address is returned unchanged.
 */
function feedreader_current_search_url(string $url, ?array $settings = null): string
{
    $settings ??= feedreader_settings();
    $parts = parse_url($url);
    if (!is_array($parts) || !isset($parts['host'], $parts['scheme'])
        || !in_array(strtolower($parts['scheme']), ['http', 'https'], true)) {
        return $url;
    }
    $host = strtolower($parts['host']);
    $path = $parts['path'] ?? '';
    parse_str($parts['query'] ?? '', $query);
    // The services read UTF-8; the tool may have encoded its Windows-1252 bytes.
    $google = static fn(string $keyword): string => $settings['google_news_search_url'] . '?q='
        . urlencode(feedreader_utf8_text($keyword)) . '&hl=en-US&gl=US&ceid=US:en';

    if (($host === 'news.google.com' || $host === 'www.news.google.com')
        && ($path === '/news' || $path === '/news/feeds') && is_string($query['q'] ?? null)) {
        return $google($query['q']);
    }
    if ($host === 'news.search.yahoo.com' && $path === '/news/rss' && is_string($query['p'] ?? null)) {
        return $settings['yahoo_news_search_url'] . '?p=' . urlencode(feedreader_utf8_text($query['p']));
    }
    if ($host === 'newsapi.bbc.co.uk' && preg_match('#^/feeds/search/[^/]+/([^/]+)/?$#', $path, $m) === 1) {
        // The keyword is the last path segment, form-encoded: "+" for a blank.
        return $google(urldecode($m[1]) . ' site:bbc.co.uk');
    }
    return $url;
}

/** @return array{0:string,1:string,2:string} body, content type and final address of a successful fetch */
function feedreader_fetch_or_fail(string $url, array $settings): array
{
    $reply = feedreader_http($url, $settings, ['Accept: application/rss+xml, application/atom+xml, '
        . 'application/rdf+xml, application/xml;q=0.9, text/xml;q=0.9, */*;q=0.8']);
    if ($reply['error'] !== null) {
        throw new FeedreaderError('The feed could not be loaded: ' . $reply['error']);
    }
    return [$reply['body'], $reply['type'], $reply['url']];
}

/**
 * Reads an RSS 2.0, RSS 1.0 (RDF) or Atom document into
 * ['title', 'link', 'items' => [['title', 'link', 'time', 'date', 'summary']]],
 * every text in UTF-8.
 */
function feedreader_parse_feed(string $body, string $contentType = '', string $baseUrl = ''): array
{
    $doc = feedreader_load_xml(feedreader_to_utf8($body, $contentType));
    $root = $doc->documentElement;
    $kind = $root === null ? '' : $root->localName;
    if ($kind === 'rss' || $kind === 'RDF') {
        $channel = feedreader_child($root, 'channel');
        $holder = $kind === 'rss' ? ($channel ?? $root) : $root;
        $feed = [
            'title' => feedreader_plain_text(feedreader_child_text($channel, 'title')),
            'link' => feedreader_child_text($channel, 'link'),
            'items' => [],
        ];
        foreach (feedreader_children($holder, 'item') as $item) {
            $summary = feedreader_child_text($item, 'description');
            if (trim($summary) === '') {
                $summary = feedreader_child_text($item, 'encoded');
            }
            $date = feedreader_child_text($item, 'pubDate');
            if ($date === '') {
                $date = feedreader_child_text($item, 'date');
            }
            $link = feedreader_child_text($item, 'link');
            if ($link === '') {
                $guid = feedreader_child($item, 'guid');
                $link = $guid !== null && strtolower($guid->getAttribute('isPermaLink')) !== 'false' ? $guid->textContent : '';
            }
            $feed['items'][] = feedreader_item(feedreader_plain_text(feedreader_child_text($item, 'title')),
                $link, $date, feedreader_plain_text($summary));
        }
    } elseif ($kind === 'feed') {
        $feed = [
            'title' => feedreader_atom_text(feedreader_child($root, 'title')),
            'link' => feedreader_atom_link($root),
            'items' => [],
        ];
        foreach (feedreader_children($root, 'entry') as $entry) {
            $date = '';
            foreach (['published', 'updated', 'issued', 'modified', 'created'] as $name) {
                $date = feedreader_child_text($entry, $name);
                if ($date !== '') {
                    break;
                }
            }
            $summary = feedreader_atom_text(feedreader_child($entry, 'summary'));
            if ($summary === '') {
                $summary = feedreader_atom_text(feedreader_child($entry, 'content'));
            }
            $feed['items'][] = feedreader_item(feedreader_atom_text(feedreader_child($entry, 'title')),
                feedreader_atom_link($entry), $date, $summary);
        }
    } else {
        throw new FeedreaderError('This address holds no RSS or Atom feed.');
    }
    $feed['link'] = feedreader_absolute_url(trim($feed['link']), $baseUrl);
    foreach ($feed['items'] as &$item) {
        $item['link'] = feedreader_absolute_url($item['link'], $baseUrl);
    }
    unset($item);
    return $feed;
}

/** A link of the feed made absolute against the feed's own address; "" when it cannot be. */
function feedreader_absolute_url(string $link, string $base): string
{
    if ($link === '' || preg_match('#^[a-z][a-z0-9+.-]*:#i', $link) === 1) {
        return $link;
    }
    $parts = parse_url($base);
    if (!is_array($parts) || !isset($parts['scheme'], $parts['host'])) {
        return '';
    }
    if (str_starts_with($link, '//')) {
        return $parts['scheme'] . ':' . $link;
    }
    $origin = $parts['scheme'] . '://' . $parts['host'] . (isset($parts['port']) ? ':' . $parts['port'] : '');
    if (str_starts_with($link, '/')) {
        return $origin . $link;
    }
    $dir = preg_replace('#/[^/]*$#', '/', $parts['path'] ?? '/');
    return $origin . ($dir === '' ? '/' : $dir) . $link;
}

function feedreader_item(string $title, string $link, string $date, string $summary): array
{
    $date = trim($date);
    $time = $date === '' ? false : strtotime($date);
    return [
        'title' => $title,
        'link' => trim($link),
        'time' => $time === false ? null : $time,
        'date' => feedreader_plain_text($date),
        'summary' => feedreader_shorten($summary, FEEDREADER_SUMMARY_CHARS),
    ];
}

/**
 * Turns the body into UTF-8 with a matching declaration. The character set
 * is taken from a byte order mark, else the XML declaration, else the HTTP
 * header, else UTF-8 when the bytes are valid UTF-8 and Windows-1252 when
 * not. ISO-8859-1 is read as Windows-1252, its superset, as browsers do,
 * since feeds labelled Latin-1 often use its quotes and dashes.
 */
function feedreader_to_utf8(string $body, string $contentType): string
{
    $charset = null;
    $boms = ["\xEF\xBB\xBF" => 'UTF-8', "\xFF\xFE" => 'UTF-16LE', "\xFE\xFF" => 'UTF-16BE'];
    foreach ($boms as $bom => $name) {
        if (str_starts_with($body, $bom)) {
            $body = substr($body, strlen($bom));
            $charset = $name;
            break;
        }
    }
    if ($charset !== null && $charset !== 'UTF-8') {
        $body = feedreader_convert($body, $charset);
        $charset = 'UTF-8';
    }
    $body = ltrim($body);
    $declaration = '';
    if (preg_match('/^<\?xml[^>]*\?>/', $body, $m) === 1) {
        $declaration = $m[0];
        $body = substr($body, strlen($declaration));
        if ($charset === null && preg_match('/encoding\s*=\s*["\']([A-Za-z0-9._:-]+)["\']/', $declaration, $e) === 1) {
            $charset = $e[1];
        }
    }
    if ($charset === null && preg_match('/charset\s*=\s*"?([A-Za-z0-9._:-]+)/i', $contentType, $h) === 1) {
        $charset = $h[1];
    }
    $charset ??= mb_check_encoding($body, 'UTF-8') ? 'UTF-8' : 'Windows-1252';
    if (in_array(strtoupper($charset), ['ISO-8859-1', 'ISO8859-1', 'LATIN1', 'LATIN-1', 'US-ASCII', 'ASCII'], true)) {
        $charset = 'Windows-1252';
    }
    if (strtoupper($charset) !== 'UTF-8' && strtoupper($charset) !== 'UTF8') {
        $body = feedreader_convert($body, $charset);
    }
    $version = preg_match('/version\s*=\s*["\']([0-9.]+)["\']/', $declaration, $v) === 1 ? $v[1] : '1.0';
    return '<?xml version="' . $version . '" encoding="UTF-8"?>' . mb_scrub($body, 'UTF-8');
}

function feedreader_convert(string $text, string $charset): string
{
    // mbstring also "converts" to and from transfer encodings; no feed is written in those.
    if (!in_array(strtoupper($charset), ['BASE64', 'UUENCODE', 'HTML-ENTITIES', 'HTML', 'QUOTED-PRINTABLE', 'QPRINT',
        '7BIT', '8BIT', 'PASS', 'AUTO'], true)) {
        try {
            return mb_convert_encoding($text, 'UTF-8', $charset);
        } catch (ValueError $e) {
            // Not known to mbstring: iconv knows more of the old code pages.
        }
    }
    $converted = function_exists('iconv') ? @iconv($charset, 'UTF-8//IGNORE', $text) : false;
    if ($converted === false) {
        throw new FeedreaderError('The feed is written in an unknown character set.');
    }
    return $converted;
}

function feedreader_load_xml(string $xml): DOMDocument
{
    $previous = libxml_use_internal_errors(true);
    try {
        $doc = new DOMDocument();
        // No network and no entity substitution: a feed must not make this
        // server read other addresses or local files.
        if (!$doc->loadXML($xml, LIBXML_NONET)) {
            // Many feeds have small faults (a bare "&"); read what can be read.
            $doc = new DOMDocument();
            $doc->recover = true;
            if (!$doc->loadXML($xml, LIBXML_NONET) || $doc->documentElement === null) {
                throw new FeedreaderError('The feed is not valid XML.');
            }
        }
        return $doc;
    } finally {
        libxml_clear_errors();
        libxml_use_internal_errors($previous);
    }
}

/** @return list<DOMElement> the element children with that local name, any namespace */
function feedreader_children(?DOMElement $parent, string $localName): array
{
    $found = [];
    for ($node = $parent?->firstChild; $node !== null; $node = $node->nextSibling) {
        if ($node instanceof DOMElement && $node->localName === $localName) {
            $found[] = $node;
        }
    }
    return $found;
}

function feedreader_child(?DOMElement $parent, string $localName): ?DOMElement
{
    return feedreader_children($parent, $localName)[0] ?? null;
}

function feedreader_child_text(?DOMElement $parent, string $localName): string
{
    return feedreader_child($parent, $localName)?->textContent ?? '';
}

/** An Atom text construct as plain text, whatever its type. */
function feedreader_atom_text(?DOMElement $el): string
{
    if ($el === null) {
        return '';
    }
    $type = strtolower($el->getAttribute('type'));
    if ($type === 'xhtml' || $type === 'application/xhtml+xml') {
        $html = '';
        foreach ($el->childNodes as $child) {
            $html .= $el->ownerDocument->saveXML($child);
        }
        return feedreader_plain_text($html);
    }
    if ($type === 'html' || $type === 'text/html') {
        return feedreader_plain_text($el->textContent);
    }
    return feedreader_plain_text(htmlspecialchars($el->textContent, ENT_NOQUOTES | ENT_SUBSTITUTE, 'UTF-8'));
}

function feedreader_atom_link(DOMElement $parent): string
{
    $fallback = '';
    foreach (feedreader_children($parent, 'link') as $link) {
        $rel = $link->getAttribute('rel');
        if ($rel === '' || $rel === 'alternate') {
            return $link->getAttribute('href');
        }
        $fallback = $fallback !== '' ? $fallback : $link->getAttribute('href');
    }
    return $fallback;
}

/** HTML (or text with entities) as one line of plain text without tags or scripts. */
function feedreader_plain_text(string $html): string
{
    $html = preg_replace('#<(script|style|noscript|iframe|object|template)\b.*?(</\1\s*>|$)#is', ' ', $html) ?? '';
    $html = preg_replace('#<!--.*?(-->|$)#s', ' ', $html) ?? '';
    $html = preg_replace('#<(br|/p|/div|/li|/h[1-6]|/tr)\b[^>]*>#i', ' ', $html) ?? '';
    $text = html_entity_decode(strip_tags($html), ENT_QUOTES | ENT_HTML5, 'UTF-8');
    $text = preg_replace('/[\s\x{00A0}\x{200B}]+/u', ' ', mb_scrub($text, 'UTF-8')) ?? '';
    return trim(preg_replace('/[\x00-\x08\x0B\x0C\x0E-\x1F\x7F]/', '', $text) ?? '');
}

function feedreader_shorten(string $text, int $chars): string
{
    if (mb_strlen($text, 'UTF-8') <= $chars) {
        return $text;
    }
    $cut = mb_substr($text, 0, $chars, 'UTF-8');
    $space = mb_strrpos($cut, ' ', 0, 'UTF-8');
    if ($space !== false && $space > $chars / 2) {
        $cut = mb_substr($cut, 0, $space, 'UTF-8');
    }
    return rtrim($cut, " ,.;:-") . "\u{2026}";
}

function feedreader_render_feed(array $feed, bool $showTitle, int $numItems): string
{
    $html = '';
    if ($showTitle && $feed['title'] !== '') {
        $html .= '<h3 class="feedreader-feedtitle">' . feedreader_link($feed['title'], $feed['link']) . "</h3>\n";
    }
    $items = array_slice($feed['items'], 0, max(0, $numItems));
    if ($items === [] && $numItems > 0) {
        return $html . feedreader_error_list('This feed has no items at the moment.');
    }
    $html .= "<ul class=\"feedreader-items\">\n";
    foreach ($items as $item) {
        $title = $item['title'] !== '' ? $item['title'] : feedreader_shorten($item['summary'], 60);
        $html .= '<li class="feedreader-item">' . feedreader_link($title !== '' ? $title : "\u{2026}", $item['link']);
        $date = $item['time'] !== null ? date('Y-m-d H:i', $item['time']) : feedreader_shorten($item['date'], 60);
        if ($date !== '') {
            $html .= ' <span class="feedreader-date">' . feedreader_escape($date) . '</span>';
        }
        if ($item['summary'] !== '' && $item['summary'] !== $title) {
            $html .= '<p class="feedreader-summary">' . feedreader_escape($item['summary']) . '</p>';
        }
        $html .= "</li>\n";
    }
    return $html . "</ul>\n";
}

/* ------------------------------------------------------------------ eBay */

function getebayfeed($campaignId, $siteId = 0, $keyword = '', $altKeyword = '', $cacheSeconds = 120, $numItems = 10): void
{
    feedreader_print(static function () use ($campaignId, $siteId, $keyword, $altKeyword, $cacheSeconds, $numItems): string {
        $settings = feedreader_settings();
        $site = feedreader_ebay_site($siteId);
        if ($site === null) {
            throw new FeedreaderError('This eBay site is not known.');
        }
        $campaign = trim((string)$campaignId);
        $keywords = array_values(array_unique(array_filter(
            [feedreader_utf8_text((string)$keyword), feedreader_utf8_text((string)$altKeyword)],
            static fn(string $k): bool => $k !== '')));
        if ($keywords === []) {
            throw new FeedreaderError('No search keyword was given.');
        }
        $numItems = (int)$numItems;
        if ($numItems <= 0) {
            return "<ul class=\"feedreader-items\">\n</ul>\n";
        }
        if ($settings['ebay_client_id'] !== '' && $settings['ebay_client_secret'] !== '') {
            $limit = min($numItems, 200);
            try {
                $items = feedreader_cached('ebay', json_encode([$site[1], $site[2], $campaign, $keywords, $limit]),
                    (int)$cacheSeconds,
                    static function () use ($settings, $site, $campaign, $keywords, $limit): array {
                        foreach ($keywords as $word) {
                            $found = feedreader_ebay_search($settings, $site, $campaign, $word, $limit);
                            if ($found !== []) {
                                return $found;
                            }
                        }
                        return [];
                    }, $settings);
                if ($items !== []) {
                    return feedreader_render_ebay_items(array_slice($items, 0, $numItems));
                }
            } catch (FeedreaderError $e) {
                // eBay cannot be asked now: the search links still earn.
            }
        }
        return feedreader_render_ebay_links($site, $campaign, $keywords);
    });
}

/** @return array{0:string,1:string,2:string,3:string,4:string,5:string}|null name, marketplace, host, language, rotation id, site id */
function feedreader_ebay_site($siteId): ?array
{
    $key = is_int($siteId) || (is_string($siteId) && preg_match('/^\s*[0-9]+\s*$/', $siteId) === 1)
        ? (string)(int)$siteId : null;
    return $key !== null && isset(FEEDREADER_EBAY_SITES[$key]) ? [...FEEDREADER_EBAY_SITES[$key], $key] : null;
}

/** The query of a tracked link: the partner network's parameters with the campaign id. */
function feedreader_ebay_tracking(array $site, string $campaign): array
{
    $tracking = ['mkcid' => '1', 'mkrid' => $site[4], 'siteid' => $site[5], 'campid' => $campaign,
        'toolid' => '10001', 'mkevt' => '1'];
    return array_filter($tracking, static fn(string $v): bool => $v !== '');
}

function feedreader_ebay_search_link(array $site, string $campaign, string $keyword): string
{
    return 'https://' . $site[2] . '/sch/i.html?'
        . http_build_query(['_nkw' => $keyword] + feedreader_ebay_tracking($site, $campaign));
}

/**
 * Asks the Browse API; returns the items found (maybe none). Throws when
 * eBay cannot be asked, so that the caller falls back to search links.
 */
function feedreader_ebay_search(array $settings, array $site, string $campaign, string $keyword, int $limit): array
{
    $url = rtrim($settings['ebay_browse_url'], '/') . '/item_summary/search?'
        . http_build_query(['q' => $keyword, 'limit' => $limit]);
    $headers = ['Accept: application/json', 'X-EBAY-C-MARKETPLACE-ID: ' . $site[1], 'Accept-Language: ' . $site[3]];
    if ($campaign !== '') {
        // Makes eBay return itemAffiliateWebUrl, the tracked link.
        $headers[] = 'X-EBAY-C-ENDUSERCTX: affiliateCampaignId=' . rawurlencode($campaign);
    }
    foreach ([false, true] as $renew) {
        $token = feedreader_ebay_token($settings, $renew);
        $reply = feedreader_http($url, $settings, array_merge($headers, ['Authorization: Bearer ' . $token]));
        if ($reply['status'] !== 401) {
            break;
        }
        // The cached token was withdrawn before its time: one fresh try.
    }
    $data = $reply['error'] === null ? json_decode($reply['body'], true) : null;
    if (!is_array($data)) {
        throw new FeedreaderError('eBay did not answer the search.');
    }
    $items = [];
    foreach (is_array($data['itemSummaries'] ?? null) ? $data['itemSummaries'] : [] as $summary) {
        if (!is_array($summary)) {
            continue;
        }
        $link = feedreader_string($summary['itemAffiliateWebUrl'] ?? null);
        if ($link === '' || !feedreader_is_web_address($link)) {
            $web = feedreader_string($summary['itemWebUrl'] ?? null);
            $link = $web === '' ? '' : $web . (str_contains($web, '?') ? '&' : '?')
                . http_build_query(feedreader_ebay_tracking($site, $campaign));
        }
        $picture = feedreader_string($summary['image']['imageUrl'] ?? null);
        if ($picture === '') {
            $picture = feedreader_string($summary['thumbnailImages'][0]['imageUrl'] ?? null);
        }
        $price = $summary['price'] ?? null;
        $items[] = [
            'title' => feedreader_plain_text(htmlspecialchars(feedreader_string($summary['title'] ?? null), ENT_NOQUOTES, 'UTF-8')),
            'link' => $link,
            'picture' => $picture,
            'price' => is_array($price) ? trim(feedreader_string($price['value'] ?? null) . ' '
                . feedreader_string($price['currency'] ?? null)) : '',
        ];
    }
    return $items;
}

/** An application token of the Browse API, cached until shortly before it expires. */
function feedreader_ebay_token(array $settings, bool $renew): string
{
    $key = $settings['ebay_token_url'] . '|' . $settings['ebay_client_id'];
    if (!$renew) {
        $cached = feedreader_cache_read('token', $key, -1, $settings);
        if (is_array($cached) && is_string($cached['token'] ?? null) && (int)($cached['expires'] ?? 0) > time() + 60) {
            return $cached['token'];
        }
    }
    $reply = feedreader_http($settings['ebay_token_url'], $settings, [
        'Authorization: Basic ' . base64_encode($settings['ebay_client_id'] . ':' . $settings['ebay_client_secret']),
        'Content-Type: application/x-www-form-urlencoded',
        'Accept: application/json',
    ], http_build_query(['grant_type' => 'client_credentials', 'scope' => 'https://api.ebay.com/oauth/api_scope']));
    $data = $reply['error'] === null ? json_decode($reply['body'], true) : null;
    $token = is_array($data) ? feedreader_string($data['access_token'] ?? null) : '';
    if ($token === '') {
        throw new FeedreaderError('eBay refused the API keys.');
    }
    $lifetime = is_numeric($data['expires_in'] ?? null) ? (int)$data['expires_in'] : 7200;
    feedreader_cache_write('token', $key, ['token' => $token, 'expires' => time() + $lifetime], $settings);
    return $token;
}

function feedreader_render_ebay_items(array $items): string
{
    $html = "<ul class=\"feedreader-items\">\n";
    foreach ($items as $item) {
        $inner = '';
        if ($item['picture'] !== '' && feedreader_is_web_address($item['picture'])) {
            $inner .= '<img class="feedreader-picture" src="' . feedreader_escape($item['picture']) . '" alt="'
                . feedreader_escape($item['title']) . '" loading="lazy" /> ';
        }
        $inner .= '<span class="feedreader-itemtitle">' . feedreader_escape($item['title']) . '</span>';
        $html .= '<li class="feedreader-item">' . feedreader_anchor($inner, $item['link'], 'nofollow sponsored noopener');
        if ($item['price'] !== '') {
            $html .= ' <span class="feedreader-price">' . feedreader_escape($item['price']) . '</span>';
        }
        $html .= "</li>\n";
    }
    return $html . "</ul>\n";
}

function feedreader_render_ebay_links(array $site, string $campaign, array $keywords): string
{
    $html = "<ul class=\"feedreader-items\">\n";
    foreach ($keywords as $keyword) {
        $text = "Find \u{201C}$keyword\u{201D} on eBay " . $site[0];
        $html .= '<li class="feedreader-item">' . feedreader_anchor(feedreader_escape($text),
            feedreader_ebay_search_link($site, $campaign, $keyword), 'nofollow sponsored noopener') . "</li>\n";
    }
    return $html . "</ul>\n";
}

/* ---------------------------------------------------------- shared parts */

/** The settings of feedreader-config.php over the defaults. */
function feedreader_settings(): array
{
    $settings = [
        'timeout' => 10,
        'cache_dir' => '',
        'max_bytes' => 4 * 1024 * 1024,
        'ebay_client_id' => '',
        'ebay_client_secret' => '',
        'ebay_token_url' => 'https://api.ebay.com/identity/v1/oauth2/token',
        'ebay_browse_url' => 'https://api.ebay.com/buy/browse/v1',
        'google_news_search_url' => 'https://news.google.com/rss/search',
        'yahoo_news_search_url' => 'https://news.search.yahoo.com/rss',
    ];
    $file = defined('FEEDREADER_CONFIG_FILE') ? (string)FEEDREADER_CONFIG_FILE : __DIR__ . '/feedreader-config.php';
    if (is_file($file)) {
        $config = (static fn(string $f) => include $f)($file);
        if (is_array($config)) {
            foreach ($config as $key => $value) {
                if (array_key_exists($key, $settings) && $value !== null) {
                    $settings[$key] = is_int($settings[$key]) && is_numeric($value) ? $value + 0 : (string)$value;
                }
            }
        }
    }
    if (!is_numeric($settings['timeout']) || $settings['timeout'] <= 0) {
        $settings['timeout'] = 10;
    }
    $settings['ebay_client_id'] = trim($settings['ebay_client_id']);
    $settings['ebay_client_secret'] = trim($settings['ebay_client_secret']);
    return $settings;
}

/**
 * One HTTP request; returns ['status', 'body', 'type', 'error'] where error
 * is null on a 2xx answer and a short reason otherwise.
 */
function feedreader_http(string $url, array $settings, array $headers = [], ?string $postBody = null): array
{
    $result = ['status' => 0, 'body' => '', 'type' => '', 'url' => $url, 'error' => null];
    if (!function_exists('curl_init')) {
        $result['error'] = "PHP's curl extension is missing on this web server.";
        return $result;
    }
    $max = (int)$settings['max_bytes'];
    $tooBig = false;
    $body = '';
    $ch = curl_init($url);
    $timeoutMs = (int)round((float)$settings['timeout'] * 1000);
    curl_setopt_array($ch, [
        CURLOPT_FOLLOWLOCATION => true,
        CURLOPT_MAXREDIRS => 5,
        // Neither the address nor a redirect may lead to file:, ftp: and the like.
        CURLOPT_PROTOCOLS => CURLPROTO_HTTP | CURLPROTO_HTTPS,
        CURLOPT_REDIR_PROTOCOLS => CURLPROTO_HTTP | CURLPROTO_HTTPS,
        CURLOPT_CONNECTTIMEOUT_MS => $timeoutMs,
        CURLOPT_TIMEOUT_MS => $timeoutMs,
        CURLOPT_USERAGENT => FEEDREADER_USER_AGENT,
        CURLOPT_ENCODING => '',
        CURLOPT_HTTPHEADER => preg_grep('/^Accept-Language:/i', $headers) === []
            ? array_merge(['Accept-Language: en-US,en;q=0.8'], $headers) : $headers,
        CURLOPT_WRITEFUNCTION => static function ($ch, string $data) use (&$body, &$tooBig, $max): int {
            if (strlen($body) + strlen($data) > $max) {
                $tooBig = true;
                return 0;
            }
            $body .= $data;
            return strlen($data);
        },
    ]);
    if ($postBody !== null) {
        curl_setopt($ch, CURLOPT_POST, true);
        curl_setopt($ch, CURLOPT_POSTFIELDS, $postBody);
    }
    curl_exec($ch);
    $errno = curl_errno($ch);
    $result['status'] = (int)curl_getinfo($ch, CURLINFO_RESPONSE_CODE);
    $result['type'] = (string)curl_getinfo($ch, CURLINFO_CONTENT_TYPE);
    $result['url'] = (string)curl_getinfo($ch, CURLINFO_EFFECTIVE_URL);
    curl_close($ch);
    $result['body'] = $body;
    if ($tooBig) {
        $result['error'] = 'it is larger than ' . round($max / 1048576, 1) . ' MB.';
    } elseif ($errno !== 0) {
        // curl's error numbers; not every build of PHP defines all their names.
        $reasons = [
            28 => 'the server did not answer in time (' . $settings['timeout'] . ' s).',
            6 => 'the server name was not found.',
            7 => 'the server could not be reached.',
            47 => 'the server redirects too often.',
            1 => 'the server redirects to an address that is not http or https.',
            35 => 'the secure connection failed.',
            60 => 'the server\'s certificate is not valid.',
        ];
        $result['error'] = $reasons[$errno] ?? 'the connection failed.';
    } elseif ($result['status'] < 200 || $result['status'] > 299) {
        $result['error'] = 'the server answered with HTTP status ' . $result['status'] . '.';
    }
    return $result;
}

/**
 * Data built by $build, kept for $seconds. When building fails, a stored
 * copy of any age is returned instead; only with none does the failure show.
 */
function feedreader_cached(string $kind, string $key, int $seconds, callable $build, array $settings): array
{
    if ($seconds > 0) {
        $fresh = feedreader_cache_read($kind, $key, $seconds, $settings);
        if ($fresh !== null) {
            return $fresh;
        }
    }
    try {
        $data = $build();
    } catch (FeedreaderError $e) {
        $stale = $seconds > 0 ? feedreader_cache_read($kind, $key, -1, $settings) : null;
        if ($stale !== null) {
            return $stale;
        }
        throw $e;
    }
    if ($seconds > 0) {
        feedreader_cache_write($kind, $key, $data, $settings);
    }
    return $data;
}

/** The cache folder: the configured one or "feedreader-cache" beside this file, else one in the temporary folder. */
function feedreader_cache_dir(array $settings): ?string
{
    static $chosen = [];
    $first = $settings['cache_dir'] !== '' ? $settings['cache_dir'] : __DIR__ . '/feedreader-cache';
    if (isset($chosen[$first])) {
        return $chosen[$first];
    }
    $fallback = rtrim(sys_get_temp_dir(), '/\\') . '/feedreader-cache-' . substr(sha1(__DIR__), 0, 12);
    foreach ([$first, $fallback] as $dir) {
        if ((is_dir($dir) || @mkdir($dir, 0775, true)) && is_writable($dir) && feedreader_can_write_in($dir)) {
            if (!file_exists("$dir/.htaccess")) {
                @file_put_contents("$dir/.htaccess", "Require all denied\n");
            }
            return $chosen[$first] = $dir;
        }
    }
    return $chosen[$first] = null;
}

/** is_writable() says yes to root on a read-only mount; trying tells the truth. */
function feedreader_can_write_in(string $dir): bool
{
    $probe = @tempnam($dir, 'probe');
    if ($probe === false || dirname($probe) !== rtrim($dir, '/\\')) {
        if ($probe !== false) {
            @unlink($probe);
        }
        return false;
    }
    @unlink($probe);
    return true;
}

function feedreader_cache_file(string $kind, string $key, array $settings): ?string
{
    $dir = feedreader_cache_dir($settings);
    return $dir === null ? null : "$dir/$kind-" . sha1($key) . '.php';
}

/** Stored data not older than $maxAge seconds (-1: any age), or null. */
function feedreader_cache_read(string $kind, string $key, int $maxAge, array $settings): ?array
{
    $file = feedreader_cache_file($kind, $key, $settings);
    if ($file === null || !is_file($file)) {
        return null;
    }
    clearstatcache(true, $file);
    if ($maxAge >= 0 && (int)@filemtime($file) + $maxAge <= time()) {
        return null;
    }
    $text = @file_get_contents($file);
    if (!is_string($text) || !str_starts_with($text, FEEDREADER_CACHE_GUARD)) {
        return null;
    }
    $data = json_decode(substr($text, strlen(FEEDREADER_CACHE_GUARD)), true);
    return is_array($data) && ($data['key'] ?? null) === $key && is_array($data['data'] ?? null) ? $data['data'] : null;
}

function feedreader_cache_write(string $kind, string $key, array $data, array $settings): void
{
    $file = feedreader_cache_file($kind, $key, $settings);
    $json = json_encode(['key' => $key, 'data' => $data], JSON_INVALID_UTF8_SUBSTITUTE);
    if ($file === null || $json === false) {
        return;
    }
    // Written aside and renamed, so that a reader never sees half a file.
    $temp = @tempnam(dirname($file), 'new');
    if ($temp !== false && @file_put_contents($temp, FEEDREADER_CACHE_GUARD . $json) !== false) {
        @chmod($temp, 0640);
        if (@rename($temp, $file)) {
            return;
        }
    }
    if ($temp !== false) {
        @unlink($temp);
    }
}

/** Runs $render and prints its HTML, or a single message when it fails; nothing else reaches the page. */
function feedreader_print(callable $render): void
{
    set_error_handler(static fn(): bool => true);
    try {
        $html = $render();
    } catch (FeedreaderError $e) {
        $html = feedreader_error_list($e->getMessage());
    } catch (Throwable $e) {
        $html = feedreader_error_list('The list could not be shown.');
    } finally {
        restore_error_handler();
    }
    echo "<div class=\"feedreader\">\n", $html, "</div>\n";
}

function feedreader_error_list(string $message): string
{
    return "<ul class=\"feedreader-items\">\n<li class=\"feedreader-error\">" . feedreader_escape($message) . "</li>\n</ul>\n";
}

function feedreader_escape(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML5, 'UTF-8');
}

/** The text (escaped here) linked to $url when that is a web address; plain otherwise. */
function feedreader_link(string $text, string $url): string
{
    return feedreader_anchor(feedreader_escape($text), $url, 'noopener');
}

/** $innerHtml linked to $url when that is a web address, so that "javascript:" and the like never become links. */
function feedreader_anchor(string $innerHtml, string $url, string $rel): string
{
    $url = trim($url);
    if (str_starts_with($url, '//')) {
        $url = 'https:' . $url;
    }
    if (!feedreader_is_web_address($url)) {
        return '<span class="feedreader-link">' . $innerHtml . '</span>';
    }
    return '<a class="feedreader-link" href="' . feedreader_escape($url) . '" rel="' . $rel . '">' . $innerHtml . '</a>';
}

function feedreader_is_web_address(string $url): bool
{
    return preg_match('#^https?://[^\s/?\#]+#i', $url) === 1;
}

function feedreader_string($value): string
{
    return is_string($value) || is_int($value) || is_float($value) ? trim((string)$value) : '';
}

/** A keyword typed into the tool: UTF-8 as it is, anything else read as Windows-1252. */
function feedreader_utf8_text(string $text): string
{
    $text = trim($text);
    return mb_check_encoding($text, 'UTF-8') ? $text : mb_convert_encoding($text, 'UTF-8', 'Windows-1252');
}

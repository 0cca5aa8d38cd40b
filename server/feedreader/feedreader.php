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
 *   $url           an http or https address of an RSS 0.9x/2.0, RSS 1.0 (RDF)
 *                  or Atom 1.0/0.3 feed, in any character set it declares
 *                  (or UTF-16/UTF-32 without declaring it). The search
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
 * titles and summaries are plain text, at most 300 characters: the text of
 * their HTML without scripts, styles, objects and templates (Dublin Core
 * titles and descriptions and Media RSS titles stand in for missing ones).
 * Relative links are resolved against xml:base, else the feed's
 * Content-Location, else its final address; a link longer than 8 KB
 * (resolved) is shown as text. Only the items listed are read, and a feed is read up to
 * 150,000 nodes at most.
 * Redirects are followed up to 5 times; once a public server has answered,
 * no redirect may lead to an address of this server's own network. Only a
 * proxy named in feedreader-config.php is used, never one of the
 * environment, and each address is checked before it is asked for. A
 * failure shows one <li class="feedreader-error"> with a short message,
 * never a PHP warning.
 *
 * Settings: copy feedreader-config.sample.php to feedreader-config.php beside
 * this file. Needs PHP 8.2 with the curl, xml (DOM) and mbstring extensions;
 * iconv adds the rarer character sets. The cache lives in the folder
 * "feedreader-cache" beside this file, or in the system's temporary folder
 * when that cannot be written; there only in a folder that this account made
 * and no other account may write (else feeds are fetched at every view).
 */

declare(strict_types=1);

// Everything but the two functions that snippets call lives in a namespace of its own, so that nothing here
// meets a name of the page that includes it. (The block is not indented: it is all of the file.)
namespace Zolt\Feedreader {

use DOMDocument;
use DOMElement;
use DOMEntityReference;
use DOMNode;
use DOMText;

const USER_AGENT = 'Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 '
    . '(KHTML, like Gecko) Chrome/124.0.0.0 Safari/537.36';
const SUMMARY_CHARS = 300;
const TITLE_CHARS = 300;
// A longer link is shown as text: no page links to such an address, and
// resolving it against the feed's address would cost every page view.
const LINK_BYTES = 8192;
// The most nodes (elements, attributes, texts) that a feed, and each piece
// of HTML in it, is read into; the rest is cut off, as if the feed ended
// there. libxml spends some 150 bytes on a node, so a page view of a 4 MB
// feed of any shape stays under 64 MB, PHP's own 25 to 30 MB included. A
// real feed's bulk is text: 4 MB of ordinary items come to about as many
// nodes, and only items far beyond those shown are lost.
const MAX_NODES = 150000;
// Every cache file starts with this, so that a cache folder under the web
// root shows nothing to a visitor who guesses a file name.
const CACHE_GUARD = "<?php exit; ?>\n";

/*
 * eBay sites by the tool's site id: name, Browse API marketplace, web site,
 * language, and the partner network's rotation id for tracked links ("" where
 * the network has none). China, India and Sweden have no eBay site of their
 * own any more; their buyers are served by the international site.
 */
const EBAY_SITES = [
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

final class FeedError extends \Exception
{
}

/** The settings: these defaults, with what feedreader-config.php sets over them (see settings). */
final readonly class Settings
{
    public function __construct(
        public float $timeout = 10,
        public string $cacheDir = '',
        public int $maxBytes = 4 * 1024 * 1024,
        public string $ebayClientId = '',
        public string $ebayClientSecret = '',
        public string $ebayTokenUrl = 'https://api.ebay.com/identity/v1/oauth2/token',
        public string $ebayBrowseUrl = 'https://api.ebay.com/buy/browse/v1',
        public string $googleNewsSearchUrl = 'https://news.google.com/rss/search',
        public string $yahooNewsSearchUrl = 'https://news.search.yahoo.com/rss',
        public string $proxy = '',
    ) {
    }
}

/** A feed as read: every text in UTF-8, every link absolute. The cache keeps it as JSON of these fields. */
final readonly class Feed
{
    /** @param list<Item> $items */
    public function __construct(public string $title, public string $link, public array $items)
    {
    }

    public static function fromJson(array $data): self
    {
        return new self($data['title'], $data['link'],
            array_map(static fn(array $item): Item => new Item(...$item), $data['items']));
    }
}

/** $time is the date read as a time, null when it could not be; $date is the text then shown instead. */
final readonly class Item
{
    public function __construct(public string $title, public string $link, public ?int $time, public string $date,
        public string $summary)
    {
    }
}

/** An eBay site of the tool: see EBAY_SITES, and the tool's site id. */
final readonly class EbaySite
{
    public function __construct(public string $name, public string $marketplace, public string $host,
        public string $language, public string $rotationId, public string $siteId)
    {
    }
}

final readonly class EbayItem
{
    public function __construct(public string $title, public string $link, public string $picture, public string $price)
    {
    }
}

/**
 * An HTTP answer: the address it came from, its Content-Location, and an error that is null on a 2xx answer and
 * a short reason otherwise. A single request (http_once) also tells the address connected to ($ip),
 * where a redirect leads ($next), curl's error number and whether the body was cut at the size limit.
 */
final readonly class HttpReply
{
    public function __construct(public string $url, public ?string $error = null, public int $status = 0,
        public string $body = '', public string $type = '', public string $location = '', public string $ip = '',
        public string $next = '', public int $errno = 0, public bool $tooBig = false)
    {
    }
}

/** An address to connect to only at $ips, all public; $name is the host:port that curl resolves to them (null for an address). */
final readonly class Target
{
    /** @param list<string> $ips */
    public function __construct(public string $url, public ?string $name, public array $ips)
    {
    }
}

/** The parts of an address (RFC 3986): null for a part that is missing, "" for one that is there but empty. */
final readonly class Url
{
    public function __construct(public ?string $scheme, public ?string $authority, public string $path,
        public ?string $query, public ?string $fragment)
    {
    }
}

/* ------------------------------------------------------------------ news */

function news_feed($url, $cacheSeconds, $showTitles, $numItems): void
{
    print_guarded(static function () use ($url, $cacheSeconds, $showTitles, $numItems): string {
        $settings = settings();
        $address = current_search_url(trim((string)$url), $settings);
        if (!is_web_address($address)) {
            throw new FeedError('This feed address is not an http or https address.');
        }
        // Only the items shown are read, so the copy kept depends on their number too.
        $numItems = max(0, (int)$numItems);
        $feed = cached('news', news_cache_key($address, $numItems), (int)$cacheSeconds,
            static fn(): Feed => fetch_feed($address, $settings, $numItems),
            Feed::fromJson(...), $settings);
        return render_feed($feed, (int)$showTitles === 1, $numItems);
    });
}

function news_cache_key(string $address, int $numItems): string
{
    return "$numItems $address";
}

/**
 * The address to fetch for a feed address: the search forms that the tool
 * composes were retired by their services, so they are asked in the current
 * form; every other address is returned unchanged.
 */
function current_search_url(string $url, ?Settings $settings = null): string
{
    $settings ??= settings();
    $parts = parse_url($url);
    if (!is_array($parts) || !isset($parts['host'], $parts['scheme'])
        || !in_array(strtolower($parts['scheme']), ['http', 'https'], true)) {
        return $url;
    }
    $host = strtolower($parts['host']);
    $path = $parts['path'] ?? '';
    parse_str($parts['query'] ?? '', $query);
    // The services read UTF-8; the tool may have encoded its Windows-1252 bytes.
    $google = static fn(string $keyword): string => $settings->googleNewsSearchUrl . '?q='
        . urlencode(utf8_text($keyword)) . '&hl=en-US&gl=US&ceid=US:en';

    if (($host === 'news.google.com' || $host === 'www.news.google.com')
        && ($path === '/news' || $path === '/news/feeds') && is_string($query['q'] ?? null)) {
        return $google($query['q']);
    }
    if ($host === 'news.search.yahoo.com' && $path === '/news/rss' && is_string($query['p'] ?? null)) {
        return $settings->yahooNewsSearchUrl . '?p=' . urlencode(utf8_text($query['p']));
    }
    if ($host === 'newsapi.bbc.co.uk' && preg_match('#^/feeds/search/[^/]+/([^/]+)/?$#', $path, $m) === 1) {
        // The keyword is the last path segment, form-encoded: "+" for a blank.
        return $google(urldecode($m[1]) . ' site:bbc.co.uk');
    }
    return $url;
}

/** The feed at $url; its relative links start from its Content-Location, else the final address after redirects. */
function fetch_feed(string $url, Settings $settings, int $maxItems): Feed
{
    $reply = http($url, $settings, ['Accept: application/rss+xml, application/atom+xml, '
        . 'application/rdf+xml, application/xml;q=0.9, text/xml;q=0.9, */*;q=0.8']);
    if ($reply->error !== null) {
        throw new FeedError('The feed could not be loaded: ' . $reply->error);
    }
    $base = $reply->url;
    if ($reply->location !== '') {
        $location = resolve_url($base, $reply->location);
        $base = is_web_address($location) ? $location : $base;
    }
    return parse_feed($reply->body, $reply->type, $base, $maxItems);
}

// An element of a feed counts only in its format's namespace; these are
// the formats' and the extensions' namespaces that are read.
const NS_RSS1 = 'http://purl.org/rss/1.0/';
const NS_RSS090 = 'http://my.netscape.com/rdf/simple/0.9/';
const NS_CONTENT = 'http://purl.org/rss/1.0/modules/content/';
const NS_DC = 'http://purl.org/dc/elements/1.1/';
const NS_MEDIA = 'http://search.yahoo.com/mrss/';
const NS_XHTML = 'http://www.w3.org/1999/xhtml';
const NS_XML = 'http://www.w3.org/XML/1998/namespace';

/**
 * Reads an RSS 2.0/0.9x, RSS 1.0/0.90 (RDF) or Atom 1.0/0.3 document, every link made absolute against
 * xml:base or $baseUrl. Only the first $maxItems items are read.
 */
function parse_feed(string $body, string $contentType = '', string $baseUrl = '',
    int $maxItems = PHP_INT_MAX): Feed
{
    $doc = load_xml(to_utf8($body, $contentType));
    $root = $doc->documentElement;
    $kind = $root === null ? '' : $root->localName;
    // RSS 0.9x/2.0 and Atom are in the namespace of their root element (none for RSS).
    $ns = $root?->namespaceURI;
    if ($kind === 'RDF') {
        // RSS 1.0, else RSS 0.90, else (a careless feed) no namespace at all.
        foreach ([NS_RSS1, NS_RSS090, null] as $ns) {
            if (child($root, 'channel', $ns) !== null || child($root, 'item', $ns) !== null) {
                break;
            }
        }
        return parse_rss(child($root, 'channel', $ns), $root, $ns, $baseUrl, $maxItems);
    }
    if ($kind === 'rss') {
        $channel = child($root, 'channel', $ns);
        return parse_rss($channel, $channel ?? $root, $ns, $baseUrl, $maxItems);
    }
    if ($kind === 'feed') {
        return parse_atom($root, $ns, $baseUrl, $maxItems);
    }
    throw new FeedError('This address holds no RSS or Atom feed.');
}

function parse_rss(?DOMElement $channel, DOMElement $holder, ?string $ns, string $base,
    int $maxItems): Feed
{
    // The base of every item is that of the element holding them, found once.
    $holderBase = base_at($holder, null, $base);
    $channelBase = $channel === null || $channel === $holder ? $holderBase
        : base_at($channel, $holder, $holderBase);
    $items = [];
    foreach (children($holder, 'item', $ns, $maxItems) as $item) {
        $media = child($item, 'group', NS_MEDIA);
        $summary = first_text([[$item, 'description', $ns], [$item, 'encoded', NS_CONTENT],
            [$item, 'body', NS_XHTML], [$item, 'body', $ns], [$item, 'fullitem', '*'],
            [$item, 'description', NS_DC]], markup_text(...));
        $title = first_text([[$item, 'title', $ns], [$item, 'title', NS_DC],
            [$item, 'title', NS_MEDIA], [$media, 'title', NS_MEDIA]], markup_text(...));
        $date = child($item, 'pubDate', $ns) ?? child($item, 'date', NS_DC);
        $link = text_link(child($item, 'link', $ns), $holderBase, $holder);
        $guid = child($item, 'guid', $ns);
        if ($link === '' && $guid !== null && strtolower(trim($guid->getAttribute('isPermaLink'))) !== 'false'
            && preg_match('#^[a-z][a-z0-9+.-]*:#i', trim($guid->textContent)) === 1
            && strlen(trim($guid->textContent)) <= LINK_BYTES) {
            $link = trim($guid->textContent);
        }
        $items[] = make_item($title, $link, $date?->textContent ?? '', $summary);
    }
    return new Feed(shorten(first_text([[$channel, 'title', $ns],
        [$channel, 'title', NS_DC]], markup_text(...)), TITLE_CHARS),
        text_link(child($channel, 'link', $ns), $channelBase, $channel), $items);
}

function parse_atom(DOMElement $root, ?string $ns, string $base, int $maxItems): Feed
{
    $rootBase = base_at($root, null, $base);
    $items = [];
    foreach (children($root, 'entry', $ns, $maxItems) as $entry) {
        $date = '';
        // Atom 1.0 dates, then Atom 0.3 ones.
        foreach (['published', 'updated', 'issued', 'modified', 'created'] as $name) {
            $date = trim(child($entry, $name, $ns)?->textContent ?? '');
            if ($date !== '') {
                break;
            }
        }
        $media = child($entry, 'group', NS_MEDIA);
        $summary = first_text([[$entry, 'summary', $ns], [$entry, 'content', $ns]], atom_text(...));
        // The guests' titles are no Atom text constructs: they are read as RSS's are.
        $title = atom_text(child($entry, 'title', $ns)) ?: first_text([
            [$entry, 'title', NS_DC], [$entry, 'title', NS_MEDIA],
            [$media, 'title', NS_MEDIA]], markup_text(...));
        $items[] = make_item($title, atom_link($entry, $ns, $rootBase, $root), $date, $summary);
    }
    return new Feed(shorten(atom_text(child($root, 'title', $ns))
        ?: markup_text(child($root, 'title', NS_DC)), TITLE_CHARS),
        atom_link($root, $ns, $rootBase, $root), $items);
}

/** @param list<array{0:?DOMElement,1:string,2:?string}> $places the text of the first of these children that has one */
function first_text(array $places, callable $read): string
{
    foreach ($places as [$parent, $name, $ns]) {
        $text = $read(child($parent, $name, $ns));
        if ($text !== '') {
            return $text;
        }
    }
    return '';
}

function make_item(string $title, string $link, string $date, string $summary): Item
{
    // A date is a few words; what is longer is no date.
    $date = shorten(trim($date), 60);
    $time = $date === '' ? false : strtotime($date);
    return new Item(shorten($title, TITLE_CHARS), $link, $time === false ? null : $time,
        clean_text($date), shorten($summary, SUMMARY_CHARS));
}

/**
 * @return list<DOMElement> the (first $max) element children with that local name in namespace $ns
 * (null: none, "*": any)
 */
function children(?DOMElement $parent, string $localName, ?string $ns, int $max = PHP_INT_MAX): array
{
    $found = [];
    for ($node = $parent?->firstChild; $node !== null && count($found) < $max; $node = $node->nextSibling) {
        if ($node instanceof DOMElement && $node->localName === $localName && ($ns === '*' || $node->namespaceURI === $ns)) {
            $found[] = $node;
        }
    }
    return $found;
}

function child(?DOMElement $parent, string $localName, ?string $ns): ?DOMElement
{
    return children($parent, $localName, $ns, 1)[0] ?? null;
}

/**
 * An RSS element's text, which holds HTML (escaped, or in some feeds as child elements, or both), as plain
 * text. Child elements are written back as tags around the text, so that the whole is read as one piece of
 * HTML, as a reader sees it.
 */
function markup_text(?DOMElement $el): string
{
    if ($el === null) {
        return '';
    }
    if ($el->firstElementChild === null) {
        return plain_text($el->textContent);
    }
    $html = '';
    markup_of($el, true, $html);
    return plain_text($html);
}

/**
 * Appends $node's content as HTML: elements as bare tags (their text is all that is kept), text as
 * HTML source where $raw, else escaped, since a feed that escapes markup escapes it only once. Some
 * feeds escape it twice where real elements stand beside it (`&amp;lt;p&amp;gt;Hey` next to an
 * `<a>`): text of that kind, escaped markup and no markup of its own, is unescaped once more.
 */
function markup_of(DOMNode $node, bool $raw, string &$html): void
{
    for ($child = $node->firstChild; $child !== null; $child = $child->nextSibling) {
        if ($child instanceof DOMElement) {
            $name = strtolower((string)$child->localName);
            $html .= "<$name>";
            markup_of($child, false, $html);
            $html .= "</$name>";
        } elseif ($child instanceof DOMText || $child instanceof DOMEntityReference) {
            $text = $child->textContent;
            if ($raw && !str_contains($text, '<') && preg_match('#&lt;/?[A-Za-z][A-Za-z0-9]*+(?:[\s/]|&gt;)#', $text) === 1) {
                $text = htmlspecialchars_decode($text, ENT_QUOTES | ENT_HTML5);
            }
            $html .= $raw ? $text : htmlspecialchars($text, ENT_NOQUOTES, 'UTF-8');
        }
    }
}

/**
 * An Atom text construct as plain text: Atom 1.0 "text", "html", "xhtml" or
 * a media type (base64 unless text or XML), Atom 0.3 a media type with mode
 * "xml", "escaped" or "base64". Content that lies elsewhere (src) gives "".
 */
function atom_text(?DOMElement $el): string
{
    if ($el === null || $el->hasAttribute('src')) {
        return '';
    }
    $type = strtolower(trim($el->getAttribute('type')));
    $mode = strtolower(trim($el->getAttribute('mode')));
    $markup = in_array($type, ['html', 'text/html', 'xhtml', 'application/xhtml+xml'], true);
    $xml = $type === 'xhtml' || preg_match('#[/+]xml$#', $type) === 1;
    if ($mode === 'base64' || (!$markup && !$xml && !in_array($type, ['', 'text'], true) && !str_starts_with($type, 'text/'))) {
        $decoded = base64_decode(preg_replace('/\s+/', '', $el->textContent) ?? '', true);
        if ($decoded === false || !mb_check_encoding($decoded, 'UTF-8')) {
            return '';
        }
        return $markup ? plain_text($decoded) : clean_text($decoded);
    }
    if ($el->firstElementChild !== null && $mode !== 'escaped') {
        if ($xml) {
            return clean_text(node_text($el, []));
        }
        if ($markup) {
            // Escaped HTML beside child elements: one piece of HTML, as in RSS.
            return markup_text($el);
        }
    }
    return $markup ? plain_text($el->textContent) : clean_text($el->textContent);
}

/**
 * The address of the first alternate link (href, else its text), else of the first link at all. Links are
 * chosen by what they say and only the chosen one is resolved, against the base of $parent found once: an
 * entry of thousands of links under a long xml:base costs one resolution, not thousands.
 */
function atom_link(DOMElement $parent, ?string $ns, string $base, DOMElement $baseHolder): string
{
    $chosen = null;
    foreach (children($parent, 'link', $ns) as $link) {
        $ref = $link->hasAttribute('href') ? $link->getAttribute('href') : $link->textContent;
        if (trim($ref) === '') {
            continue;
        }
        $chosen ??= [$link, $ref];
        if (in_array(trim($link->getAttribute('rel')), ['', 'alternate'], true)) {
            $chosen = [$link, $ref];
            break;
        }
    }
    if ($chosen === null) {
        return '';
    }
    $parentBase = $parent === $baseHolder ? $base : base_at($parent, $baseHolder, $base);
    return link_url($chosen[0], $chosen[1], $parentBase, $parent);
}

function text_link(?DOMElement $el, string $base, ?DOMElement $baseHolder): string
{
    return $el === null ? '' : link_url($el, $el->textContent, $base, $baseHolder);
}

/**
 * The base address in force inside $el: $base, which is that in force inside $holder (null: outside the
 * document), with the xml:base of $el and of its ancestors below $holder applied; "" when it grows too long.
 */
function base_at(DOMElement $el, ?DOMElement $holder, string $base): string
{
    $bases = [];
    for ($node = $el; $node instanceof DOMElement && $node !== $holder; $node = $node->parentNode) {
        if ($node->hasAttributeNS(NS_XML, 'base')) {
            $bases[] = trim($node->getAttributeNS(NS_XML, 'base'));
        }
    }
    foreach (array_reverse($bases) as $xmlBase) {
        $base = strlen($xmlBase) > LINK_BYTES ? '' : resolve_url($base, $xmlBase);
        if (strlen($base) > LINK_BYTES) {
            $base = '';
        }
    }
    return $base;
}

/**
 * $ref, written in $el, made absolute against the xml:base in force there ($base is that inside $baseHolder,
 * an ancestor of $el); "" when it cannot be or is longer than LINK_BYTES.
 */
function link_url(DOMElement $el, string $ref, string $base, ?DOMElement $baseHolder): string
{
    if (strlen($ref) > 4 * LINK_BYTES) {
        return '';
    }
    // Browsers drop tabs and line breaks inside an address and blanks around it.
    $ref = trim(str_replace(["\t", "\n", "\r"], '', $ref), " \x00..\x1F");
    if ($ref === '' || strlen($ref) > LINK_BYTES) {
        return '';
    }
    $base = base_at($el, $baseHolder, $base);
    // Blanks and control characters inside are percent-encoded, as browsers send them.
    $url = preg_replace_callback('/[\x00-\x20\x7F]|\xC2[\x80-\x9F]/', static fn(array $c): string => rawurlencode($c[0]),
        resolve_url($base, $ref)) ?? '';
    return strlen($url) > LINK_BYTES ? '' : $url;
}

/* ------------------------------------------------------- addresses */

/** $ref resolved against $base (RFC 3986, section 5.2); "" when $ref is relative and $base is no absolute address. */
function resolve_url(string $base, string $ref): string
{
    $r = split_url($ref);
    [$scheme, $authority, $path, $query] = [$r->scheme, $r->authority, $r->path, $r->query];
    if ($scheme === null) {
        $b = split_url($base);
        if ($b->scheme === null) {
            return '';
        }
        $scheme = $b->scheme;
        if ($authority === null) {
            $authority = $b->authority;
            if ($path === '') {
                // A same-document or query-only reference: the base's path, and its query unless it has one.
                $path = $b->path;
                $query ??= $b->query;
            } elseif ($path[0] !== '/') {
                // Merge: the base's path up to its last "/", or "/" under a bare authority.
                $slash = strrpos($b->path, '/');
                $dir = $b->authority !== null && $b->path === '' ? '/'
                    : ($slash === false ? '' : substr($b->path, 0, $slash + 1));
                $path = $dir . $path;
            }
        }
    }
    $url = strtolower($scheme) . ':' . ($authority !== null ? '//' . $authority : '') . remove_dot_segments($path);
    return $url . ($query !== null ? '?' . $query : '') . ($r->fragment !== null ? '#' . $r->fragment : '');
}

function split_url(string $url): Url
{
    // An empty authority ("file:///") or query ("x?") is there, but empty.
    preg_match('~^(?:([A-Za-z][A-Za-z0-9+.-]*):)?(?://([^/?#]*))?([^?#]*)(?:\?([^#]*))?(?:#(.*))?\z~s', $url, $m,
        PREG_UNMATCHED_AS_NULL);
    return new Url($m[1] ?? null, $m[2] ?? null, $m[3] ?? '', $m[4] ?? null, $m[5] ?? null);
}

/** RFC 3986's remove_dot_segments, walking the path once. */
function remove_dot_segments(string $path): string
{
    $out = [];
    $length = strlen($path);
    for ($pos = 0; $pos < $length;) {
        $rest = $length - $pos;
        if (substr_compare($path, '../', $pos, 3) === 0) {
            $pos += 3;
        } elseif (substr_compare($path, './', $pos, 2) === 0) {
            $pos += 2;
        } elseif (substr_compare($path, '/./', $pos, 3) === 0) {
            // "/./x" goes on as "/x".
            $pos += 2;
        } elseif ($rest === 2 && substr_compare($path, '/.', $pos, 2) === 0) {
            $out[] = '/';
            break;
        } elseif (substr_compare($path, '/../', $pos, 4) === 0) {
            $pos += 3;
            array_pop($out);
        } elseif ($rest === 3 && substr_compare($path, '/..', $pos, 3) === 0) {
            array_pop($out);
            $out[] = '/';
            break;
        } elseif (($rest === 1 && $path[$pos] === '.') || ($rest === 2 && substr_compare($path, '..', $pos, 2) === 0)) {
            break;
        } else {
            // One segment with the "/" before it.
            $end = strpos($path, '/', $path[$pos] === '/' ? $pos + 1 : $pos);
            $end = $end === false ? $length : $end;
            $out[] = substr($path, $pos, $end - $pos);
            $pos = $end;
        }
    }
    return implode('', $out);
}

/* ------------------------------------------------------------ text */

// Elements whose content a visitor never sees as text, and elements that end a line of text.
// An iframe is not among them: its content is only what shows where frames do not, and
// parsers differ on where an iframe ends, so hiding it could hide the rest of a summary.
const HIDDEN_ELEMENTS = ['script', 'style', 'noscript', 'template', 'object', 'embed', 'applet',
    'head', 'title'];
const BLOCK_ELEMENTS = ['br', 'p', 'div', 'li', 'ul', 'ol', 'dl', 'dt', 'dd', 'tr', 'td', 'th', 'table',
    'h1', 'h2', 'h3', 'h4', 'h5', 'h6', 'blockquote', 'pre', 'hr', 'section', 'article', 'header', 'footer'];

/** HTML (or text with entities) as one line of plain text without tags or scripts. */
function plain_text(string $html): string
{
    if (strpbrk($html, '<&') === false) {
        return clean_text($html);
    }
    // A document type inside a page is ignored up to its ">" (or the end), as browsers do; left in, it
    // would swallow the end tags around the fragment.
    $html = fix_references(preg_replace('/<!DOCTYPE[^>]*+(?:>|\z)/i', '', $html) ?? '', false);
    // Not kept either: LIBXML_NOERROR and LIBXML_NOWARNING silence the parser, and a list of
    // errors would grow by one for every broken tag.
    $previous = libxml_use_internal_errors(false);
    try {
        $doc = new DOMDocument();
        $doc->loadHTML('<!DOCTYPE html><html><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8">'
            . '</head><body>' . $html . '</body></html>', LIBXML_NONET | LIBXML_NOERROR | LIBXML_NOWARNING);
    } finally {
        libxml_clear_errors();
        libxml_use_internal_errors($previous);
    }
    // The parser lets an element that is never closed run to the end. An
    // object or template left open hides only itself, and an embed never
    // has content, so the text after them stays.
    $unwrap = ['embed'];
    foreach (['object', 'template'] as $name) {
        if (preg_match_all("#</$name\\s*>#i", $html) < preg_match_all("#<$name(?=[\\s/>])#i", $html)) {
            $unwrap[] = $name;
        }
    }
    return clean_text(node_text($doc->getElementsByTagName('body')->item(0), $unwrap));
}

/** The text a reader sees in $node's content: hidden elements left out (but those in $unwrap), blocks apart. */
function node_text(?DOMNode $node, array $unwrap): string
{
    $text = '';
    if ($node !== null) {
        append_text($node, $unwrap, $text);
    }
    return $text;
}

/** node_text appending to $text, so that nesting never copies the text again. */
function append_text(DOMNode $node, array $unwrap, string &$text): void
{
    for ($child = $node->firstChild; $child !== null; $child = $child->nextSibling) {
        if ($child instanceof DOMText || $child instanceof DOMEntityReference) {
            $text .= $child->textContent;
        } elseif ($child instanceof DOMElement) {
            $name = strtolower((string)($child->localName ?? $child->nodeName));
            if (in_array($name, HIDDEN_ELEMENTS, true) && !in_array($name, $unwrap, true)) {
                continue;
            }
            $gap = in_array($name, BLOCK_ELEMENTS, true) ? ' ' : '';
            $text .= $gap;
            append_text($child, $unwrap, $text);
            $text .= $gap;
        }
    }
}

/**
 * Text as one line: C1 control characters read as the Windows-1252
 * characters they stand for in the wild (as browsers do), other control
 * characters dropped, runs of blanks and line breaks made one blank. The
 * typographic spaces (em, en, thin and their kin) are kept as written.
 */
function clean_text(string $text): string
{
    static $c1 = null;
    if ($c1 === null) {
        $c1 = [];
        for ($byte = 0x80; $byte <= 0x9F; $byte++) {
            // The five bytes that Windows-1252 leaves undefined come back as themselves: dropped.
            $char = mb_convert_encoding(chr($byte), 'UTF-8', 'Windows-1252');
            $c1[mb_chr($byte, 'UTF-8')] = mb_ord($char, 'UTF-8') === $byte ? '' : $char;
        }
    }
    $text = preg_replace('/[\t\n\v\f\r \x{00A0}\x{200B}\x{2028}\x{2029}]+/u', ' ', strtr(mb_scrub($text, 'UTF-8'), $c1)) ?? '';
    return trim(preg_replace('/[\x00-\x08\x0B\x0C\x0E-\x1F\x7F]/', '', $text) ?? '');
}

/**
 * Makes the references in a document ones that XML knows: HTML's named
 * entities (the whole HTML5 set, as PHP's own table has it) become character
 * references, "&#X" becomes "&#x", references to characters XML forbids go,
 * and in XML a "&" that starts no known reference is escaped; in HTML the
 * Latin-1 names that HTML also reads without ";" are read so. The five XML
 * entities, entities declared in the document type, CDATA sections,
 * comments and processing instructions stay as they are. The text is cut
 * before the tag that would make it more than MAX_NODES nodes.
 */
function fix_references(string $text, bool $xml): string
{
    static $legacy = null;
    $legacy ??= ['AMP' => true, 'COPY' => true, 'GT' => true, 'LT' => true, 'QUOT' => true, 'REG' => true]
        + array_fill_keys(array_map(static fn(string $e): string => substr($e, 1, -1), array_filter(
            get_html_translation_table(HTML_ENTITIES, ENT_QUOTES | ENT_HTML401, 'UTF-8'),
            static fn(string $c): bool => mb_ord($c, 'UTF-8') < 0x100, ARRAY_FILTER_USE_KEY)), true);
    $five = ['amp' => true, 'lt' => true, 'gt' => true, 'quot' => true, 'apos' => true];
    $keep = $five;
    $nodes = 0;
    $out = '';
    $length = strlen($text);
    for ($pos = 0; $pos < $length;) {
        $run = strcspn($text, '<&', $pos);
        $out .= substr($text, $pos, $run);
        $pos += $run;
        if ($pos >= $length) {
            break;
        }
        if ($text[$pos] === '<') {
            $end = markup_declaration_end($text, $pos);
            // A node and the text after it (an end tag: the text); a tag's attributes are nodes with a text each.
            $nodes += ($text[$end] ?? '') === '/' ? 1 : 2 + ($end === $pos + 1 ? 2 * preg_match_all('~[\s/]+[^\s/>=]~',
                substr($text, $end, strcspn($text, '<>', $end))) : 0);
            if ($nodes > MAX_NODES) {
                break;
            }
            $declaration = substr($text, $pos, $end - $pos);
            if (preg_match_all('/<!ENTITY\s+([^\s%]+)/', $declaration, $names) > 0 && stripos($declaration, '<!DOCTYPE') === 0) {
                $keep += array_fill_keys($names[1], true);
            }
            $out .= $declaration;
            $pos = $end;
        } elseif (($name = strspn($text, 'abglmopqstu', $pos + 1, 5)) >= 2 && ($text[$pos + 1 + $name] ?? '') === ';'
            && isset($five[substr($text, $pos + 1, $name)])) {
            // The five entities of XML, the most common by far, without the pattern below.
            $out .= substr($text, $pos, $name + 2);
            $pos += $name + 2;
        } elseif (preg_match('/\G&(?:#[xX]([0-9A-Fa-f]{1,8});?|#([0-9]{1,8});?|([A-Za-z][A-Za-z0-9]{0,40});'
            . '|([A-Za-z]{2,6})(?![A-Za-z0-9=]))/', $text, $m, PREG_UNMATCHED_AS_NULL, $pos) === 1) {
            $pos += strlen($m[0]);
            if ($m[1] !== null || $m[2] !== null) {
                $out .= char_reference($m[1] !== null ? (int)hexdec($m[1]) : (int)$m[2]);
            } elseif ($m[3] === null) {
                $out .= $xml ? '&amp;' . $m[4] : (isset($legacy[$m[4]]) ? fix_references("$m[0];", false) : $m[0]);
            } elseif (isset($keep[$m[3]])) {
                // A declared entity is a node of its own.
                $nodes += isset($five[$m[3]]) ? 0 : 1;
                if ($nodes > MAX_NODES) {
                    break;
                }
                $out .= $m[0];
            } else {
                $decoded = html_entity_decode($m[0], ENT_QUOTES | ENT_HTML5, 'UTF-8');
                $out .= $decoded !== $m[0] ? implode('', array_map(static fn(string $c): string
                    => char_reference(mb_ord($c, 'UTF-8')), mb_str_split($decoded, 1, 'UTF-8')))
                    : ($xml ? '&amp;' . substr($m[0], 1) : $m[0]);
            }
        } else {
            $out .= $xml ? '&amp;' : '&';
            $pos++;
        }
    }
    return $out;
}

/** Where the CDATA section, comment, processing instruction or document type at $pos ends; just past "<" for a tag. */
function markup_declaration_end(string $text, int $pos): int
{
    foreach (['<![CDATA[' => ']]>', '<!--' => '-->', '<?' => '?>'] as $open => $close) {
        if (substr_compare($text, $open, $pos, strlen($open)) === 0) {
            $found = strpos($text, $close, $pos + strlen($open));
            return $found === false ? strlen($text) : $found + strlen($close);
        }
    }
    if (substr_compare($text, '<!DOCTYPE', $pos, 9, true) !== 0) {
        return $pos + 1;
    }
    // Up to the first ">", or past the internal subset when a "[" comes first; never further.
    $stop = $pos + strcspn($text, '[>', $pos);
    if ($stop < strlen($text) && $text[$stop] === '[') {
        $close = strpos($text, ']', $stop);
        $stop = $close === false ? false : strpos($text, '>', $close);
    }
    return $stop === false || $stop >= strlen($text) ? strlen($text) : $stop + 1;
}

/** A reference to character $code that XML accepts; U+FFFD for no character, nothing for a control character. */
function char_reference(int $code): string
{
    if ($code === 0 || ($code >= 0xD800 && $code <= 0xDFFF) || $code > 0x10FFFF) {
        return '&#xFFFD;';
    }
    if (($code < 0x20 && $code !== 0x09 && $code !== 0x0A && $code !== 0x0D) || $code === 0xFFFE || $code === 0xFFFF) {
        return '';
    }
    return sprintf('&#x%X;', $code);
}

/* ------------------------------------------------------- encodings */

/**
 * Turns the body into UTF-8 with a matching declaration. The character set
 * is taken from a byte order mark or the zero bytes of the first characters
 * (UTF-16 and UTF-32), else the XML declaration, else the HTTP header, else
 * UTF-8 when the bytes are valid UTF-8 and Windows-1252 when not. Latin-1
 * and ASCII labels are read as Windows-1252, their superset, as browsers do,
 * since such feeds often use its quotes and dashes.
 */
function to_utf8(string $body, string $contentType): string
{
    $charset = null;
    $boms = ["\x00\x00\xFE\xFF" => 'UTF-32BE', "\xFF\xFE\x00\x00" => 'UTF-32LE', "\xEF\xBB\xBF" => 'UTF-8',
        "\xFE\xFF" => 'UTF-16BE', "\xFF\xFE" => 'UTF-16LE'];
    foreach ($boms as $bom => $name) {
        if (str_starts_with($body, $bom)) {
            $body = substr($body, strlen($bom));
            $charset = $name;
            break;
        }
    }
    if ($charset === null) {
        // Without a mark, "<" (or a blank) shows the width and byte order by where its zero bytes are.
        $zeros = preg_replace(['/[^\x00]/', '/\x00/'], ['x', '0'], substr($body, 0, 4));
        $charset = ['000x' => 'UTF-32BE', 'x000' => 'UTF-32LE', '0x0x' => 'UTF-16BE', 'x0x0' => 'UTF-16LE'][$zeros] ?? null;
    }
    if ($charset !== null && $charset !== 'UTF-8') {
        $body = convert_charset($body, $charset);
        $charset = 'UTF-8';
    }
    $body = ltrim($body);
    $declaration = '';
    if (preg_match('/^<\?xml[^>]*\?>/', $body, $m) === 1) {
        $declaration = $m[0];
        // A declared UTF-16 or UTF-32 that the bytes (read as ASCII here) belie is not believed.
        if ($charset === null && preg_match('/encoding\s*=\s*["\']([A-Za-z0-9._:-]+)["\']/', $declaration, $e) === 1
            && preg_match('/^(UTF-?(16|32)|UCS-?[24]|ISO-10646)/i', $e[1]) !== 1) {
            $charset = $e[1];
        }
    }
    if ($charset === null && preg_match('/charset\s*=\s*"?([A-Za-z0-9._:-]+)/i', $contentType, $h) === 1
        && preg_match('/^(UTF-?(16|32)|UCS-?[24])/i', $h[1]) !== 1) {
        $charset = $h[1];
    }
    $valid = mb_check_encoding($body, 'UTF-8');
    $charset ??= $valid ? 'UTF-8' : 'Windows-1252';
    // The labels that the WHATWG encoding standard reads as Windows-1252.
    $latin1 = ['ANSI_X3.4-1968', 'ASCII', 'CP1252', 'CP819', 'CSISOLATIN1', 'IBM819', 'ISO-8859-1', 'ISO-IR-100',
        'ISO8859-1', 'ISO88591', 'ISO_8859-1', 'ISO_8859-1:1987', 'L1', 'LATIN1', 'US-ASCII', 'WINDOWS-1252', 'X-CP1252',
        'LATIN-1'];
    if (in_array(strtoupper($charset), $latin1, true)) {
        $charset = 'Windows-1252';
    }
    $version = preg_match('/version\s*=\s*["\']([0-9.]+)["\']/', $declaration, $v) === 1 ? $v[1] : '1.0';
    $declared = '<?xml version="' . $version . '" encoding="UTF-8"?>';
    // The body is the size of the whole feed: each step makes one copy of it, no more.
    if (strtoupper($charset) !== 'UTF-8' && strtoupper($charset) !== 'UTF8') {
        return $declared . convert_charset(substr($body, strlen($declaration)), $charset);
    }
    return substr_replace($valid ? $body : mb_scrub($body, 'UTF-8'), $declared, 0, strlen($declaration));
}

function convert_charset(string $text, string $charset): string
{
    // mbstring also "converts" to and from transfer encodings; no feed is written in those.
    if (!in_array(strtoupper($charset), ['BASE64', 'UUENCODE', 'HTML-ENTITIES', 'HTML', 'QUOTED-PRINTABLE', 'QPRINT',
        '7BIT', '8BIT', 'PASS', 'AUTO'], true)) {
        try {
            return mb_convert_encoding($text, 'UTF-8', $charset);
        } catch (\ValueError $e) {
            // Not known to mbstring: iconv knows more of the old code pages.
        }
    }
    $converted = function_exists('iconv') ? @iconv($charset, 'UTF-8//IGNORE', $text) : false;
    if ($converted === false) {
        throw new FeedError('The feed is written in an unknown character set.');
    }
    return $converted;
}

function load_xml(string $xml): DOMDocument
{
    $xml = fix_references($xml, true);
    // Not kept either: LIBXML_NOERROR and LIBXML_NOWARNING silence the parser, and a list of
    // errors would grow by one for every broken tag.
    $previous = libxml_use_internal_errors(false);
    try {
        $doc = new DOMDocument();
        // No network and no entity substitution: a feed must not make this
        // server read other addresses or local files.
        $options = LIBXML_NONET | LIBXML_NOERROR | LIBXML_NOWARNING;
        if (!$doc->loadXML($xml, $options)) {
            // Many feeds have other small faults (a bare "<", a tag left open); read what can be read.
            $doc = new DOMDocument();
            $doc->recover = true;
            if (!$doc->loadXML($xml, $options) || $doc->documentElement === null) {
                throw new FeedError('The feed is not valid XML.');
            }
        }
        return $doc;
    } finally {
        libxml_clear_errors();
        libxml_use_internal_errors($previous);
    }
}

function shorten(string $text, int $chars): string
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

function render_feed(Feed $feed, bool $showTitle, int $numItems): string
{
    $html = '';
    if ($showTitle && $feed->title !== '') {
        $html .= '<h3 class="feedreader-feedtitle">' . linked_text($feed->title, $feed->link) . "</h3>\n";
    }
    $items = array_slice($feed->items, 0, max(0, $numItems));
    if ($items === [] && $numItems > 0) {
        return $html . error_list('This feed has no items at the moment.');
    }
    $html .= "<ul class=\"feedreader-items\">\n";
    foreach ($items as $item) {
        $title = $item->title !== '' ? $item->title : shorten($item->summary, 60);
        $html .= '<li class="feedreader-item">' . linked_text($title !== '' ? $title : "\u{2026}", $item->link);
        $date = $item->time !== null ? date('Y-m-d H:i', $item->time) : shorten($item->date, 60);
        if ($date !== '') {
            $html .= ' <span class="feedreader-date">' . escape($date) . '</span>';
        }
        if ($item->summary !== '' && $item->summary !== $title) {
            $html .= '<p class="feedreader-summary">' . escape($item->summary) . '</p>';
        }
        $html .= "</li>\n";
    }
    return $html . "</ul>\n";
}

/* ------------------------------------------------------------------ eBay */

function ebay_feed($campaignId, $siteId, $keyword, $altKeyword, $cacheSeconds, $numItems): void
{
    print_guarded(static function () use ($campaignId, $siteId, $keyword, $altKeyword, $cacheSeconds, $numItems): string {
        $settings = settings();
        $site = ebay_site($siteId);
        if ($site === null) {
            throw new FeedError('This eBay site is not known.');
        }
        $campaign = trim((string)$campaignId);
        $keywords = array_values(array_unique(array_filter(
            [utf8_text((string)$keyword), utf8_text((string)$altKeyword)],
            static fn(string $k): bool => $k !== '')));
        if ($keywords === []) {
            throw new FeedError('No search keyword was given.');
        }
        $numItems = (int)$numItems;
        if ($numItems <= 0) {
            return "<ul class=\"feedreader-items\">\n</ul>\n";
        }
        if ($settings->ebayClientId !== '' && $settings->ebayClientSecret !== '') {
            $limit = min($numItems, 200);
            try {
                $items = cached('ebay', json_encode([$site->marketplace, $site->host, $campaign, $keywords, $limit]),
                    (int)$cacheSeconds,
                    static function () use ($settings, $site, $campaign, $keywords, $limit): array {
                        foreach ($keywords as $word) {
                            $found = ebay_search($settings, $site, $campaign, $word, $limit);
                            if ($found !== []) {
                                return $found;
                            }
                        }
                        return [];
                    }, static fn(array $items): array => array_map(
                        static fn(array $item): EbayItem => new EbayItem(...$item), $items), $settings);
                if ($items !== []) {
                    return render_ebay_items(array_slice($items, 0, $numItems));
                }
            } catch (FeedError $e) {
                // eBay cannot be asked now: the search links still earn.
            }
        }
        return render_ebay_links($site, $campaign, $keywords);
    });
}

function ebay_site($siteId): ?EbaySite
{
    $key = is_int($siteId) || (is_string($siteId) && preg_match('/^\s*[0-9]+\s*$/', $siteId) === 1)
        ? (string)(int)$siteId : null;
    return $key !== null && isset(EBAY_SITES[$key])
        ? new EbaySite(...[...EBAY_SITES[$key], $key]) : null;
}

/** The query of a tracked link: the partner network's parameters with the campaign id. */
function ebay_tracking(EbaySite $site, string $campaign): array
{
    $tracking = ['mkcid' => '1', 'mkrid' => $site->rotationId, 'siteid' => $site->siteId, 'campid' => $campaign,
        'toolid' => '10001', 'mkevt' => '1'];
    return array_filter($tracking, static fn(string $v): bool => $v !== '');
}

function ebay_search_link(EbaySite $site, string $campaign, string $keyword): string
{
    return 'https://' . $site->host . '/sch/i.html?'
        . http_build_query(['_nkw' => $keyword] + ebay_tracking($site, $campaign));
}

/**
 * Asks the Browse API; returns the items found (maybe none). Throws when
 * eBay cannot be asked, so that the caller falls back to search links.
 * @return list<EbayItem>
 */
function ebay_search(Settings $settings, EbaySite $site, string $campaign,
    string $keyword, int $limit): array
{
    $url = rtrim($settings->ebayBrowseUrl, '/') . '/item_summary/search?'
        . http_build_query(['q' => $keyword, 'limit' => $limit]);
    $headers = ['Accept: application/json', 'X-EBAY-C-MARKETPLACE-ID: ' . $site->marketplace,
        'Accept-Language: ' . $site->language];
    if ($campaign !== '') {
        // Makes eBay return itemAffiliateWebUrl, the tracked link.
        $headers[] = 'X-EBAY-C-ENDUSERCTX: affiliateCampaignId=' . rawurlencode($campaign);
    }
    foreach ([false, true] as $renew) {
        $token = ebay_token($settings, $renew);
        $reply = http($url, $settings, array_merge($headers, ['Authorization: Bearer ' . $token]));
        if ($reply->status !== 401) {
            break;
        }
        // The cached token was withdrawn before its time: one fresh try.
    }
    $data = $reply->error === null ? json_decode($reply->body, true) : null;
    if (!is_array($data)) {
        throw new FeedError('eBay did not answer the search.');
    }
    $items = [];
    foreach (is_array($data['itemSummaries'] ?? null) ? $data['itemSummaries'] : [] as $summary) {
        if (!is_array($summary)) {
            continue;
        }
        $link = scalar_text($summary['itemAffiliateWebUrl'] ?? null);
        if ($link === '' || !is_web_address($link)) {
            $web = scalar_text($summary['itemWebUrl'] ?? null);
            $link = $web === '' ? '' : $web . (str_contains($web, '?') ? '&' : '?')
                . http_build_query(ebay_tracking($site, $campaign));
        }
        $picture = scalar_text($summary['image']['imageUrl'] ?? null);
        if ($picture === '') {
            $picture = scalar_text($summary['thumbnailImages'][0]['imageUrl'] ?? null);
        }
        $price = $summary['price'] ?? null;
        $items[] = new EbayItem(
            plain_text(htmlspecialchars(scalar_text($summary['title'] ?? null), ENT_NOQUOTES, 'UTF-8')),
            $link, $picture, is_array($price) ? trim(scalar_text($price['value'] ?? null) . ' '
                . scalar_text($price['currency'] ?? null)) : '');
    }
    return $items;
}

/** An application token of the Browse API, cached until shortly before it expires. */
function ebay_token(Settings $settings, bool $renew): string
{
    $key = $settings->ebayTokenUrl . '|' . $settings->ebayClientId;
    if (!$renew) {
        $cached = cache_read('token', $key, -1, $settings);
        if (is_array($cached) && is_string($cached['token'] ?? null) && (int)($cached['expires'] ?? 0) > time() + 60) {
            return $cached['token'];
        }
    }
    $reply = http($settings->ebayTokenUrl, $settings, [
        'Authorization: Basic ' . base64_encode($settings->ebayClientId . ':' . $settings->ebayClientSecret),
        'Content-Type: application/x-www-form-urlencoded',
        'Accept: application/json',
    ], http_build_query(['grant_type' => 'client_credentials', 'scope' => 'https://api.ebay.com/oauth/api_scope']));
    $data = $reply->error === null ? json_decode($reply->body, true) : null;
    $token = is_array($data) ? scalar_text($data['access_token'] ?? null) : '';
    if ($token === '') {
        throw new FeedError('eBay refused the API keys.');
    }
    $lifetime = is_numeric($data['expires_in'] ?? null) ? (int)$data['expires_in'] : 7200;
    cache_write('token', $key, ['token' => $token, 'expires' => time() + $lifetime], $settings);
    return $token;
}

/** @param list<EbayItem> $items */
function render_ebay_items(array $items): string
{
    $html = "<ul class=\"feedreader-items\">\n";
    foreach ($items as $item) {
        $inner = '';
        if ($item->picture !== '' && is_web_address($item->picture)) {
            $inner .= '<img class="feedreader-picture" src="' . escape($item->picture) . '" alt="'
                . escape($item->title) . '" loading="lazy" /> ';
        }
        $inner .= '<span class="feedreader-itemtitle">' . escape($item->title) . '</span>';
        $html .= '<li class="feedreader-item">' . anchor($inner, $item->link, 'nofollow sponsored noopener');
        if ($item->price !== '') {
            $html .= ' <span class="feedreader-price">' . escape($item->price) . '</span>';
        }
        $html .= "</li>\n";
    }
    return $html . "</ul>\n";
}

function render_ebay_links(EbaySite $site, string $campaign, array $keywords): string
{
    $html = "<ul class=\"feedreader-items\">\n";
    foreach ($keywords as $keyword) {
        $text = "Find \u{201C}$keyword\u{201D} on eBay " . $site->name;
        $html .= '<li class="feedreader-item">' . anchor(escape($text),
            ebay_search_link($site, $campaign, $keyword), 'nofollow sponsored noopener') . "</li>\n";
    }
    return $html . "</ul>\n";
}

/* ---------------------------------------------------------- shared parts */

/** The settings of feedreader-config.php over the defaults. */
function settings(): Settings
{
    $file = defined('FEEDREADER_CONFIG_FILE') ? (string)FEEDREADER_CONFIG_FILE : __DIR__ . '/feedreader-config.php';
    $config = is_file($file) ? (static fn(string $f) => include $f)($file) : null;
    $values = get_object_vars(new Settings());
    foreach ($values as $name => $default) {
        // The file names them in snake case: "cache_dir" sets cacheDir.
        $value = is_array($config) ? $config[strtolower(preg_replace('/[A-Z]/', '_$0', $name))] ?? null : null;
        if ($value !== null) {
            $values[$name] = !is_string($default) && is_numeric($value) ? $value + 0 : (string)$value;
        }
    }
    return new Settings(...[
        'timeout' => is_numeric($values['timeout']) && $values['timeout'] > 0 ? (float)$values['timeout'] : 10,
        'maxBytes' => (int)$values['maxBytes'],
        'ebayClientId' => trim($values['ebayClientId']),
        'ebayClientSecret' => trim($values['ebayClientSecret']),
    ] + $values);
}

// What a failed fetch says once a server has sent the request on: the same
// whether the address was refused, unknown or silent, so that a feed learns
// nothing about this server's own network.
const UNREACHABLE = 'the server could not be reached.';

/**
 * One HTTP request, redirects followed (at most 5, http and https only); the
 * reply's address is the final one after redirects. The address given is
 * the site owner's and may lie in their own network; once a public server
 * has answered, every address it sends the request on to must be public
 * too, and the connection goes to the address that was checked. A proxy is
 * used only when the settings name one (never one of PHP's environment,
 * which would connect wherever a redirect says): then each address's host
 * is looked up and checked here before the proxy is asked for it.
 */
function http(string $url, Settings $settings, array $headers = [],
    ?string $postBody = null): HttpReply
{
    if (!function_exists('curl_init')) {
        return new HttpReply($url, "PHP's curl extension is missing on this web server.");
    }
    $checked = false;
    $target = null;
    $error = null;
    // The time-out holds for the whole chain of redirects, not for each of them.
    $deadline = hrtime(true) + (int)round($settings->timeout * 1e9);
    $proxied = $settings->proxy !== '';
    for ($redirects = 0; ; $redirects++) {
        if ($checked || $proxied) {
            $target = public_target($url);
            if ($checked && $target === null) {
                return new HttpReply($url, UNREACHABLE);
            }
            $url = $target->url ?? $url;
        }
        $reply = http_once($url, $settings, $headers, $postBody, $checked ? $target : null,
            max(1, intdiv($deadline - hrtime(true), 1000000)));
        if ($checked && !$proxied && $reply->errno === 0 && !in_array($reply->ip, $target->ips, true)) {
            // Connected elsewhere than checked: nothing of it is used.
            return new HttpReply($url, UNREACHABLE);
        }
        if ($reply->errno !== 0 || $reply->next === '' || !in_array($reply->status, [301, 302, 303, 307, 308], true)) {
            break;
        }
        if ($redirects >= 5) {
            $error = 'the server redirects too often.';
            break;
        }
        if (!is_web_address($reply->next)) {
            $error = 'the server redirects to an address that is not http or https.';
            break;
        }
        // Through a proxy the address connected to is the proxy's: the host's own addresses tell instead.
        $checked = $checked || ($proxied ? $target !== null : is_public_ip($reply->ip));
        // Credentials go only where they were meant to go; a 303, and a 301 or 302 after a form, asks with GET.
        if (origin($reply->next) !== origin($url)) {
            $headers = array_values(preg_grep('/^Authorization:/i', $headers, PREG_GREP_INVERT));
        }
        if ($reply->status === 303 || ($postBody !== null && $reply->status <= 302)) {
            $postBody = null;
        }
        $url = $reply->next;
    }
    // curl's error numbers; not every build of PHP defines all their names.
    $reasons = [
        28 => 'the server did not answer in time (' . $settings->timeout . ' s).',
        6 => 'the server name was not found.',
        7 => UNREACHABLE,
        35 => 'the secure connection failed.',
        60 => 'the server\'s certificate is not valid.',
    ];
    $error ??= match (true) {
        $reply->tooBig => 'it is larger than ' . round($settings->maxBytes / 1048576, 1) . ' MB.',
        $reply->errno !== 0 => $checked && in_array($reply->errno, [6, 7, 28], true)
            ? UNREACHABLE : $reasons[$reply->errno] ?? 'the connection failed.',
        $reply->status < 200 || $reply->status > 299 => 'the server answered with HTTP status ' . $reply->status . '.',
        default => null,
    };
    return new HttpReply($reply->url, $error, $reply->status, $reply->body, $reply->type, $reply->location);
}

/** One request without following redirects, connecting only to the addresses of $target when given. */
function http_once(string $url, Settings $settings, array $headers, ?string $postBody,
    ?Target $target, int $timeoutMs): HttpReply
{
    $max = $settings->maxBytes;
    $location = '';
    $body = '';
    $tooBig = false;
    $ch = curl_init($url);
    curl_setopt_array($ch, [
        CURLOPT_FOLLOWLOCATION => false,
        // Neither the address nor a redirect may lead to file:, ftp: and the like.
        CURLOPT_PROTOCOLS => CURLPROTO_HTTP | CURLPROTO_HTTPS,
        // "" keeps curl from taking a proxy from the environment (http_proxy, ALL_PROXY and the like).
        CURLOPT_PROXY => $settings->proxy,
        CURLOPT_CONNECTTIMEOUT_MS => $timeoutMs,
        CURLOPT_TIMEOUT_MS => $timeoutMs,
        CURLOPT_USERAGENT => USER_AGENT,
        CURLOPT_ENCODING => '',
        CURLOPT_HTTPHEADER => preg_grep('/^Accept-Language:/i', $headers) === []
            ? array_merge(['Accept-Language: en-US,en;q=0.8'], $headers) : $headers,
        CURLOPT_HEADERFUNCTION => static function ($ch, string $line) use (&$location): int {
            if (preg_match('/^Content-Location:\s*(.*?)\s*$/i', $line, $m) === 1) {
                $location = $m[1];
            }
            return strlen($line);
        },
        CURLOPT_WRITEFUNCTION => static function ($ch, string $data) use (&$body, &$tooBig, $max): int {
            if (strlen($body) + strlen($data) > $max) {
                $tooBig = true;
                return 0;
            }
            $body .= $data;
            return strlen($data);
        },
    ]);
    if ($target !== null && $target->name !== null && $settings->proxy === '') {
        curl_setopt($ch, CURLOPT_RESOLVE, [$target->name . ':' . implode(',', array_map(
            static fn(string $ip): string => str_contains($ip, ':') ? "[$ip]" : $ip, $target->ips))]);
    }
    if ($postBody !== null) {
        curl_setopt($ch, CURLOPT_POST, true);
        curl_setopt($ch, CURLOPT_POSTFIELDS, $postBody);
    }
    curl_exec($ch);
    $reply = new HttpReply((string)curl_getinfo($ch, CURLINFO_EFFECTIVE_URL), null,
        (int)curl_getinfo($ch, CURLINFO_RESPONSE_CODE), $body, (string)curl_getinfo($ch, CURLINFO_CONTENT_TYPE), $location,
        (string)curl_getinfo($ch, CURLINFO_PRIMARY_IP), (string)curl_getinfo($ch, CURLINFO_REDIRECT_URL),
        $tooBig ? 0 : curl_errno($ch), $tooBig);
    curl_close($ch);
    return $reply;
}

/**
 * $url written out again from its checked parts, with the addresses its host has when every one of them is
 * public; null when the host is no plain name or address, has no address, or has one that is not public.
 */
function public_target(string $url): ?Target
{
    $parts = split_url($url);
    $authority = preg_replace('/^.*@/s', '', (string)$parts->authority);
    if (preg_match('/^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9](?:[A-Za-z0-9.-]{0,252}))(?::([0-9]{1,5}))?$/', $authority, $m) !== 1) {
        return null;
    }
    $scheme = strtolower((string)$parts->scheme);
    $host = rtrim($m[1], '.');
    $port = isset($m[2]) && $m[2] !== '' ? (int)$m[2] : ($scheme === 'https' ? 443 : 80);
    $url = "$scheme://$m[1]" . (isset($m[2]) && $m[2] !== '' ? ":$port" : '')
        . ($parts->path === '' ? '/' : $parts->path) . ($parts->query !== null ? '?' . $parts->query : '');
    if ($host[0] === '[') {
        $ips = [substr($host, 1, -1)];
        $name = null;
    } elseif (filter_var($host, FILTER_VALIDATE_IP, FILTER_FLAG_IPV4) !== false) {
        $ips = [$host];
        $name = null;
    } else {
        // The system's resolver reads numbers such as "127.1" as curl does; names also in IPv6.
        $ips = array_merge(@gethostbynamel($host) ?: [], array_column(@dns_get_record($host, DNS_AAAA) ?: [], 'ipv6'));
        $name = "$m[1]:$port";
    }
    $ips = array_values(array_unique(array_map(
        static fn(string $ip): string => (string)@inet_ntop((string)@inet_pton($ip)), $ips)));
    if ($ips === [] || in_array('', $ips, true) || count(array_filter($ips, is_public_ip(...))) !== count($ips)) {
        return null;
    }
    return new Target($url, $name, $ips);
}

// Addresses that are no public server's: this host, private and shared networks, link-local (cloud
// metadata), unique-local, multicast, documentation, benchmarking and reserved ranges; an IPv6 address
// that carries an IPv4 one (mapped, NAT64, 6to4) counts as that.
const NON_PUBLIC_NETS = ['0.0.0.0/8', '10.0.0.0/8', '100.64.0.0/10', '127.0.0.0/8', '169.254.0.0/16',
    '172.16.0.0/12', '192.0.0.0/24', '192.0.2.0/24', '192.88.99.0/24', '192.168.0.0/16', '198.18.0.0/15',
    '198.51.100.0/24', '203.0.113.0/24', '224.0.0.0/4', '240.0.0.0/4', '::/96', '64:ff9b:1::/48', '100::/64',
    '2001::/23', '2001:db8::/32', 'fc00::/7', 'fe80::/10', 'fec0::/10', 'ff00::/8'];

function is_public_ip(string $ip): bool
{
    $bytes = @inet_pton($ip);
    if ($bytes === false) {
        return false;
    }
    if (strlen($bytes) === 16) {
        foreach (["\0\0\0\0\0\0\0\0\0\0\xFF\xFF", "\x00\x64\xFF\x9B\0\0\0\0\0\0\0\0"] as $prefix) {
            if (str_starts_with($bytes, $prefix)) {
                return is_public_ip((string)inet_ntop(substr($bytes, 12)));
            }
        }
        if (str_starts_with($bytes, "\x20\x02")) {
            return is_public_ip((string)inet_ntop(substr($bytes, 2, 4)));
        }
    }
    foreach (NON_PUBLIC_NETS as $net) {
        [$address, $bits] = explode('/', $net);
        $prefix = (string)inet_pton($address);
        if (strlen($prefix) === strlen($bytes) && strncmp($bytes, $prefix, intdiv((int)$bits, 8)) === 0
            && ((int)$bits % 8 === 0 || ((ord($bytes[intdiv((int)$bits, 8)]) ^ ord($prefix[intdiv((int)$bits, 8)]))
                & (0xFF << (8 - (int)$bits % 8)) & 0xFF) === 0)) {
            return false;
        }
    }
    return true;
}

/** scheme://host:port of an address, for telling whether a redirect leaves the server. */
function origin(string $url): string
{
    $parts = parse_url($url);
    return is_array($parts) ? strtolower(($parts['scheme'] ?? '') . '://' . ($parts['host'] ?? '') . ':'
        . ($parts['port'] ?? '')) : '';
}

/**
 * Data built by $build, kept for $seconds as JSON that $fromJson reads back. When building fails, a stored
 * copy of any age is returned instead; only with none does the failure show.
 */
function cached(string $kind, string $key, int $seconds, callable $build, callable $fromJson,
    Settings $settings): mixed
{
    if ($seconds > 0) {
        $fresh = cache_read($kind, $key, $seconds, $settings);
        if ($fresh !== null) {
            return $fromJson($fresh);
        }
    }
    try {
        $data = $build();
    } catch (FeedError $e) {
        $stale = $seconds > 0 ? cache_read($kind, $key, -1, $settings) : null;
        if ($stale !== null) {
            return $fromJson($stale);
        }
        throw $e;
    }
    if ($seconds > 0) {
        cache_write($kind, $key, $data, $settings);
    }
    return $data;
}

/** The cache folder: the configured one or "feedreader-cache" beside this file, else one in the temporary folder. */
function cache_dir(Settings $settings): ?string
{
    static $chosen = [];
    $first = $settings->cacheDir !== '' ? $settings->cacheDir : __DIR__ . '/feedreader-cache';
    if (isset($chosen[$first])) {
        return $chosen[$first];
    }
    if ((is_dir($first) || @mkdir($first, 0775, true)) && is_writable($first) && can_write_in($first)) {
        if (!file_exists("$first/.htaccess")) {
            @file_put_contents("$first/.htaccess", "Require all denied\n");
        }
        return $chosen[$first] = $first;
    }
    // Every account on the server can guess this name, so only a folder that
    // this account made, and no other account may write, is used.
    $fallback = rtrim(sys_get_temp_dir(), '/\\') . '/feedreader-cache-' . substr(sha1(__DIR__), 0, 12);
    if (!file_exists($fallback) && !is_link($fallback)) {
        @mkdir($fallback, 0700);
    }
    $info = @lstat($fallback);
    $private = is_array($info) && ($info['mode'] & 0170000) === 0040000 && ($info['mode'] & 0022) === 0
        && $info['uid'] === user_id();
    return $chosen[$first] = $private && can_write_in($fallback) ? $fallback : null;
}

/** The account this script runs under, also where PHP lacks the posix extension. */
function user_id(): ?int
{
    if (function_exists('posix_geteuid')) {
        return posix_geteuid();
    }
    $probe = @tempnam(sys_get_temp_dir(), 'uid');
    $owner = $probe === false ? false : @fileowner($probe);
    if ($probe !== false) {
        @unlink($probe);
    }
    return $owner === false ? null : $owner;
}

/** is_writable() says yes to root on a read-only mount; trying tells the truth. */
function can_write_in(string $dir): bool
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

function cache_file(string $kind, string $key, Settings $settings): ?string
{
    $dir = cache_dir($settings);
    return $dir === null ? null : "$dir/$kind-" . sha1($key) . '.php';
}

/** Stored data not older than $maxAge seconds (-1: any age), or null. */
function cache_read(string $kind, string $key, int $maxAge, Settings $settings): ?array
{
    $file = cache_file($kind, $key, $settings);
    if ($file === null || !is_file($file)) {
        return null;
    }
    clearstatcache(true, $file);
    $written = (int)@filemtime($file);
    // A copy from the future was not written by this library: it would never grow old.
    if ($written > time() || ($maxAge >= 0 && $written + $maxAge <= time())) {
        return null;
    }
    $text = @file_get_contents($file);
    if (!is_string($text) || !str_starts_with($text, CACHE_GUARD)) {
        return null;
    }
    $data = json_decode(substr($text, strlen(CACHE_GUARD)), true);
    return is_array($data) && ($data['key'] ?? null) === $key && is_array($data['data'] ?? null) ? $data['data'] : null;
}

function cache_write(string $kind, string $key, mixed $data, Settings $settings): void
{
    $file = cache_file($kind, $key, $settings);
    $json = json_encode(['key' => $key, 'data' => $data], JSON_INVALID_UTF8_SUBSTITUTE);
    if ($file === null || $json === false) {
        return;
    }
    // Written aside and renamed, so that a reader never sees half a file.
    $temp = @tempnam(dirname($file), 'new');
    if ($temp !== false && @file_put_contents($temp, CACHE_GUARD . $json) !== false) {
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
function print_guarded(callable $render): void
{
    set_error_handler(static fn(): bool => true);
    try {
        $html = $render();
    } catch (FeedError $e) {
        $html = error_list($e->getMessage());
    } catch (\Throwable $e) {
        $html = error_list('The list could not be shown.');
    } finally {
        restore_error_handler();
    }
    echo "<div class=\"feedreader\">\n", $html, "</div>\n";
}

function error_list(string $message): string
{
    return "<ul class=\"feedreader-items\">\n<li class=\"feedreader-error\">" . escape($message) . "</li>\n</ul>\n";
}

function escape(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML5, 'UTF-8');
}

/** The text (escaped here) linked to $url when that is a web address; plain otherwise. */
function linked_text(string $text, string $url): string
{
    return anchor(escape($text), $url, 'noopener');
}

/** $innerHtml linked to $url when that is a web address, so that "javascript:" and the like never become links. */
function anchor(string $innerHtml, string $url, string $rel): string
{
    $url = trim($url);
    if (str_starts_with($url, '//')) {
        $url = 'https:' . $url;
    }
    if (!is_web_address($url)) {
        return '<span class="feedreader-link">' . $innerHtml . '</span>';
    }
    return '<a class="feedreader-link" href="' . escape($url) . '" rel="' . $rel . '">' . $innerHtml . '</a>';
}

function is_web_address(string $url): bool
{
    return preg_match('#^https?://[^\s/?\#]+#i', $url) === 1;
}

function scalar_text($value): string
{
    return is_string($value) || is_int($value) || is_float($value) ? trim((string)$value) : '';
}

/** A keyword typed into the tool: UTF-8 as it is, anything else read as Windows-1252. */
function utf8_text(string $text): string
{
    $text = trim($text);
    return mb_check_encoding($text, 'UTF-8') ? $text : mb_convert_encoding($text, 'UTF-8', 'Windows-1252');
}

}

namespace {

/** See the top of this file. */
function getnewsfeed($url, $cacheSeconds = 120, $showTitles = 1, $numItems = 10): void
{
    \Zolt\Feedreader\news_feed($url, $cacheSeconds, $showTitles, $numItems);
}

/** See the top of this file. */
function getebayfeed($campaignId, $siteId = 0, $keyword = '', $altKeyword = '', $cacheSeconds = 120, $numItems = 10): void
{
    \Zolt\Feedreader\ebay_feed($campaignId, $siteId, $keyword, $altKeyword, $cacheSeconds, $numItems);
}

}

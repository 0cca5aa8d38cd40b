<?php
// feedreader.php against a local web server that stands in for feed sites,
// the news search services and eBay's API, called in this process and, as a
// web-site owner would use it, through generated snippets served by php -S.

declare(strict_types=1);

require __DIR__ . '/support/TestRunner.php';
require __DIR__ . '/support/Fixtures.php';

use Zolt\Feedreader as F;

const FEEDREADER = __DIR__ . '/../../server/feedreader/feedreader.php';

date_default_timezone_set('UTC');
$t = new TestRunner();
$tmp = new TempDir();
$state = "{$tmp->path}/state";
mkdir($state);
$server = new PhpServer($state, __DIR__ . '/fixtures/feed_router.php',
    ['FEED_STATE_DIR' => $state, 'PHP_CLI_SERVER_WORKERS' => '3']);
$base = $server->url();

define('FEEDREADER_CONFIG_FILE', "{$tmp->path}/feedreader-config.php");
require FEEDREADER;

/** Writes the in-process configuration: local stand-ins, a private cache, and $extra. */
function configure(array $extra = []): void
{
    global $tmp, $base;
    $config = array_merge([
        'timeout' => 5,
        'cache_dir' => "{$tmp->path}/cache",
        'ebay_token_url' => $base . 'identity/v1/oauth2/token',
        'ebay_browse_url' => $base . 'buy/browse/v1/',
        'google_news_search_url' => $base . 'rss/search',
        'yahoo_news_search_url' => $base . 'rss',
    ], $extra);
    file_put_contents(FEEDREADER_CONFIG_FILE, '<?php return ' . var_export($config, true) . ';');
}

function with_keys(array $extra = []): void
{
    configure(['ebay_client_id' => 'test-id', 'ebay_client_secret' => 'test-secret'] + $extra);
}

function output_of(callable $call): string
{
    ob_start();
    $call();
    return (string)ob_get_clean();
}

function news(string $url, int $cache = 0, int $titles = 1, int $num = 10): string
{
    return output_of(static fn() => getnewsfeed($url, $cache, $titles, $num));
}

function ebay(string $campaign, $site, string $kw, string $alt, int $cache = 0, int $num = 10): string
{
    return output_of(static fn() => getebayfeed($campaign, $site, $kw, $alt, $cache, $num));
}

/**
 * What a visitor's browser gets, read back: the feed title, the items
 * (text, link, date, summary, picture, price) and the error message. Fails
 * the case when the HTML is not well formed or holds anything but the
 * library's own elements and attributes and web addresses.
 */
function read_list(TestRunner $t, string $html): array
{
    $t->check(str_starts_with($html, "<div class=\"feedreader\">\n") && str_ends_with($html, "</div>\n"),
        'wrapped in one div: ' . substr($html, 0, 80));
    $doc = new DOMDocument();
    $t->require(@$doc->loadXML('<root>' . $html . '</root>') === true, 'well-formed output: ' . $html);
    $allowed = ['div' => ['class'], 'h3' => ['class'], 'ul' => ['class'], 'li' => ['class'], 'p' => ['class'],
        'span' => ['class'], 'a' => ['class', 'href', 'rel'], 'img' => ['class', 'src', 'alt', 'loading']];
    foreach ($doc->getElementsByTagName('*') as $el) {
        if ($el->nodeName === 'root') {
            continue;
        }
        $t->check(isset($allowed[$el->nodeName]), "unexpected element <{$el->nodeName}>");
        foreach ($el->attributes as $attr) {
            $t->check(in_array($attr->name, $allowed[$el->nodeName] ?? [], true), "unexpected attribute {$attr->name}");
            if ($attr->name === 'href' || $attr->name === 'src') {
                $t->check(preg_match('#^https?://#', $attr->value) === 1, "not a web address: {$attr->value}");
            }
        }
    }
    $t->check(preg_match('/[\x{80}-\x{9F}]/u', $html) === 0, 'no C1 control character');
    $xp = new DOMXPath($doc);
    $text = static fn(string $q, ?DOMNode $ctx = null): ?string => ($n = $xp->query($q, $ctx)->item(0)) ? $n->textContent : null;
    $list = [
        'title' => $text('//h3[@class="feedreader-feedtitle"]'),
        'titlelink' => $text('//h3/a/@href'),
        'error' => $text('//li[@class="feedreader-error"]'),
        'items' => [],
    ];
    foreach ($xp->query('//li[@class="feedreader-item"]') as $li) {
        $list['items'][] = [
            'text' => $text('.//span[@class="feedreader-itemtitle"]', $li) ?? $text('.//*[@class="feedreader-link"]', $li),
            'link' => $text('.//a/@href', $li),
            'date' => $text('.//span[@class="feedreader-date"]', $li),
            'summary' => $text('.//p[@class="feedreader-summary"]', $li),
            'picture' => $text('.//img/@src', $li),
            'price' => $text('.//span[@class="feedreader-price"]', $li),
        ];
    }
    return $list;
}

function item_texts(array $list): array
{
    return array_map(static fn(array $i): ?string => $i['text'], $list['items']);
}

function hits(string $name): int
{
    global $state;
    return (int)@file_get_contents("$state/hits-$name");
}

/** @return list<array> the Browse API searches the stand-in received, then forgets them */
function searches(): array
{
    global $state;
    $file = "$state/searches.jsonl";
    $lines = is_file($file) ? file($file, FILE_IGNORE_NEW_LINES) : [];
    @unlink($file);
    return array_map(static fn(string $l): array => json_decode($l, true), $lines);
}

function age_cache(string $pattern): int
{
    global $tmp;
    $files = glob("{$tmp->path}/cache/$pattern") ?: [];
    foreach ($files as $f) {
        touch($f, time() - 3600);
    }
    return count($files);
}

configure();

$t->test('feed formats and character sets', function () use ($t, $base) {
    $cases = [
        // path, show titles, items, feed title, item texts, checks on the first item
        ['rss2.xml', 1, 10, 'Plain RSS', ['First', 'Second', 'Third'],
            ['link' => 'http://127.0.0.1/item/1', 'date' => '2026-12-01 10:00', 'summary' => 'About First']],
        ['rss2.xml', 0, 2, null, ['First', 'Second'], []],
        ['rdf.xml', 1, 10, 'RDF Channel', ['RDF one', 'RDF two'],
            ['link' => 'http://127.0.0.1/r1', 'date' => '2026-12-03 08:30', 'summary' => 'First RDF item']],
        ['atom.xml', 1, 10, 'Atom <Feed>', ['Atom one', 'Atom two'],
            ['link' => 'http://127.0.0.1/a1', 'date' => '2026-12-04 11:00', 'summary' => 'Atom summary']],
        ['latin1.xml', 1, 10, "Caf\u{E9} news", ["Caf\u{E9} opens", "Na\u{EF}ve item"], []],
        ['header-charset.xml', 1, 10, "Gr\u{FC}\u{DF}e", ["\u{201C}Quoted\u{201D}"], []],
        ['utf16.xml', 1, 10, 'Sixteen', ["\u{DC}n\u{EF}code"], []],
        ['cp1251.xml', 1, 10, 'Привет', ['Новости'], []],
        ['koi8.xml', 1, 10, 'Привет', ['Koi'], []],
        ['redirect', 1, 1, 'Plain RSS', ['First'], []],
        ['long.xml', 0, 10000, null, array_map(static fn($i) => "Item $i", range(1, 30)), []],
        ['long.xml', 0, 0, null, [], []],
    ];
    foreach ($cases as [$path, $titles, $num, $title, $texts, $first]) {
        $list = read_list($t, news($base . $path, 0, $titles, $num));
        $t->eq(null, $list['error'], "$path error");
        $t->eq($title, $list['title'], "$path feed title");
        $t->eq($texts, item_texts($list), "$path items");
        foreach ($first as $field => $value) {
            $t->eq($value, $list['items'][0][$field] ?? null, "$path first item $field");
        }
    }
    $rdf = read_list($t, news($base . 'rdf.xml'));
    $t->eq($base . 'r2', $rdf['items'][1]['link'], 'a relative link is made absolute');
    $atom = read_list($t, news($base . 'atom.xml'));
    $t->eq(['http://127.0.0.1/a2', 'XHTML content'], [$atom['items'][1]['link'], $atom['items'][1]['summary']],
        'xhtml content without its script; the alternate link, not the edit link');
    $t->eq('http://127.0.0.1/atomsite', $atom['titlelink'], 'the feed title links to the site');
    $t->contains('ampersand', implode(' ', item_texts(read_list($t, news($base . 'recoverable.xml')))),
        'a feed with a bare "&" is still read');
});

// Each feed of feeds/ beside its NAME.expected.json: the feed title and link, and every item's
// title, link and summary a visitor sees ("{base}" stands for the test server's address).
foreach (glob(__DIR__ . '/feeds/*.xml') as $file) {
    $name = basename($file, '.xml');
    $t->test("feed case $name", function () use ($t, $base, $name) {
        $want = json_decode(str_replace('{base}', $base, (string)file_get_contents(__DIR__ . "/feeds/$name.expected.json")),
            true, 16, JSON_THROW_ON_ERROR);
        $list = read_list($t, news($base . ($want['fetch'] ?? "cases/$name.xml")));
        $t->eq([$want['title'], $want['titlelink'] ?? $list['titlelink']], [$list['title'], $list['titlelink']], 'feed title');
        $shown = static fn(array $i): array => array_filter(['title' => $i['title'] ?? $i['text'] ?? null,
            'link' => $i['link'] ?? null, 'summary' => $i['summary'] ?? null], static fn($v): bool => $v !== null);
        $t->eq(array_map($shown, $want['items']), array_map($shown, $list['items']), 'items');
    });
}

$t->test('scripts, markup and dangerous links never reach the page', function () use ($t, $base) {
    $html = news($base . 'evil.xml');
    $list = read_list($t, $html);
    $t->eq(null, $list['error']);
    $t->eq('Evil "quoted" \'feed\'', $list['title'], 'feed title as text, its script dropped');
    $t->eq(null, $list['titlelink'], 'no javascript: link');
    $t->eq(['Title', 'Entity'], item_texts($list), 'tags removed, external entity not loaded');
    $t->eq('Kept & text', $list['items'][0]['summary'], 'script and style dropped with their content');
    $t->eq([null, null], [$list['items'][0]['link'], $list['items'][1]['link']], 'javascript: and data: links dropped');
    $t->check(stripos($html, '<script') === false && stripos($html, 'javascript:') === false, 'nothing executable');
    $t->check(!str_contains($html, trim((string)@file_get_contents('/etc/hostname')) ?: "\0"), 'no local file content');
});

$t->test('each failure prints one specific message', function () use ($t, $base) {
    $cases = [
        'not found' => [$base . 'missing.xml', [], 'HTTP status 404'],
        'broken XML' => [$base . 'broken.xml', [], 'not valid XML'],
        'unknown character set' => [$base . 'unknown-charset.xml', [], 'unknown character set'],
        'a web page' => [$base . 'page.html', [], 'no RSS or Atom feed'],
        'no items' => [$base . 'empty.xml', [], 'no items'],
        'slow server' => [$base . 'slow.xml', ['timeout' => 0.5], 'did not answer in time (0.5 s)'],
        'redirect to a file' => [$base . 'redirect-file', [], 'not http or https'],
        'redirect loop' => [$base . 'loop', [], 'redirects too often'],
        'too large' => [$base . 'big.xml', ['max_bytes' => 100000], 'larger than'],
        'refused' => ['http://127.0.0.1:' . free_port() . '/x.xml', [], 'could not be reached'],
        'ftp' => ['ftp://127.0.0.1/feed.xml', [], 'not an http or https address'],
        'local file' => ['file:///etc/passwd', [], 'not an http or https address'],
        'php stream' => ['php://filter/resource=/etc/passwd', [], 'not an http or https address'],
        'no scheme' => ['127.0.0.1/rss2.xml', [], 'not an http or https address'],
        'empty' => ['   ', [], 'not an http or https address'],
    ];
    foreach ($cases as $name => [$url, $config, $message]) {
        configure($config);
        $list = read_list($t, news($url));
        $t->contains($message, (string)$list['error'], $name);
        $t->eq([], $list['items'], "$name: no items");
    }
    configure();
});

$t->test('a public server cannot redirect into the own network', function () use ($t) {
    $reach = 'could not be reached';
    $path = '/counted.xml?name=own';
    $own = "{own}$path";
    $cases = [ // where the public feed server redirects to, and what shows: items or the message
        'the own server' => [$own, $reach], 'by name' => ["http://localhost:{port}$path", $reach],
        'IPv6 loopback' => ["http://[::1]:{port}$path", $reach], 'IPv4-mapped' => ["http://[::ffff:7f00:1]:{port}$path", $reach],
        'a number' => ["http://2130706433:{port}$path", $reach], 'short form' => ["http://127.1:{port}$path", $reach],
        'metadata' => ['http://169.254.169.254/latest/meta-data/', $reach], 'private' => ['http://10.0.0.1/', $reach],
        'a closed port, same message' => ['http://127.0.0.1:' . free_port() . '/', $reach],
        'an unreachable public host, same message' => ['http://93.184.216.35/', $reach],
        'another public feed' => ['{public}/rss2.xml', ['First', 'Second', 'Third']],
        'public, then the own server' => ['{public}/to?u=' . rawurlencode($own), $reach],
        'the owner\'s own address' => ["direct:$own", ['Fetch 1']],
    ];
    $command = "ip link set lo up && ip addr add 93.184.216.34/32 dev lo && exec '" . PHP_BINARY . "' "
        . escapeshellarg(__DIR__ . '/fixtures/public_redirects.php') . ' ' . escapeshellarg(json_encode(array_column($cases, 0)));
    exec('unshare -n sh -c ' . escapeshellarg($command) . ' 2>&1', $lines, $status);
    if ($status !== 0 && (posix_geteuid() !== 0 || str_contains(implode("\n", $lines), 'unshare'))) {
        echo '     (skipped: no network namespace of its own: ', $lines[0] ?? "not root", ")\n";
        return;
    }
    $result = json_decode(end($lines), true);
    $t->require(is_array($result), implode("\n", $lines));
    foreach (array_keys($cases) as $i => $name) {
        $list = read_list($t, $result['pages'][$i]);
        $error = (string)$list['error'];
        $t->eq($cases[$name][1], $error === '' ? item_texts($list) : (str_contains($error, $reach) ? $reach : $error), $name);
    }
    $t->eq(1, $result['hits'], 'only the owner reached the own server');
});

$t->test('the limits at their edges', function () use ($t, $base) {
    $first = static fn(string $path, string $field) => read_list($t, news($base . $path, 0, 1, 100000))['items'][0][$field]
        ?? null;
    // Read with a pattern: PHP 8.2's DOM walks its lists from the start for every element.
    preg_match_all('#<li class="feedreader-item"><span class="feedreader-link">([0-9]+)</span>#',
        news($base . 'many-items.xml?n=80000', 0, 1, 100000), $many);
    $cases = [ // what is read, and what it must be
        'a chain of 5 redirects is read' => [$first('chain?n=5', 'text'), 'First'],
        'a chain of 6 is refused' => [(string)read_list($t, news($base . 'chain?n=6'))['error'],
            'The feed could not be loaded: the server redirects too often.'],
        // Each under 8 KB, together over: no link; a little shorter, the link.
        'xml:base of 7,000 bytes and a link of 3,000' => [$first('atom-links.xml?base=7000&link=3000', 'link'), null],
        'xml:base of 4,000 bytes and a link of 3,000' => [$first('atom-links.xml?base=4000&link=3000', 'link'),
            'http://127.0.0.1/' . str_repeat('b', 4000) . '/' . str_repeat('l', 3000)],
        'the alternate link is chosen before it is resolved' => [$first(
            'atom-links.xml?base=7000&link=3000&links=3', 'link'), null],
        // 150,000 nodes hold no more than 50,000 items of a title each, the first ones, whole.
        '80,000 items are cut by the node budget' => [count($many[1]) >= 20000 && count($many[1]) <= 50000
            && $many[1] === array_map('strval', range(1, count($many[1]))), true],
    ];
    foreach ($cases as $name => [$got, $want]) {
        $t->eq($want, $got, $name);
    }
});

$t->test('a proxy only when the settings name one, each address checked before it is asked', function () use ($t, $base, $state) {
    $to = static fn(string $target): string => 'http://93.184.216.34/to?u=' . rawurlencode($target);
    $reach = 'The feed could not be loaded: the server could not be reached.';
    $cases = [ // proxy in the settings, address, what shows, what the proxy was asked
        'the environment\'s proxy is passed by' => ['', $base . 'rss2.xml', ['First', 'Second', 'Third'], []],
        'the proxy of the settings is used' => [$base, 'http://10.0.0.5/f', ['http://10.0.0.5/f'], ['http://10.0.0.5/f']],
        'redirects to public servers go on' => [$base, $to('http://93.184.216.35/f'), ['http://93.184.216.35/f'],
            [$to('http://93.184.216.35/f'), 'http://93.184.216.35/f']],
    ];
    foreach (['http://169.254.169.254/latest/meta-data/', 'http://127.0.0.1:' . free_port() . '/', 'http://10.0.0.5/',
                 'http://[::1]/', 'http://[::ffff:a00:5]/', 'http://localhost/'] as $inside) {
        $cases["a redirect to $inside: refused before the proxy is asked"] = [$base, $to($inside), $reach, [$to($inside)]];
    }
    $env = ['http_proxy', 'https_proxy', 'HTTPS_PROXY', 'ALL_PROXY', 'all_proxy'];
    foreach ($env as $name) {
        putenv("$name=$base");
    }
    foreach ($cases as $name => [$proxy, $url, $shown, $asked]) {
        configure(['proxy' => $proxy]);
        @unlink("$state/proxied.jsonl");
        $list = read_list($t, news($url));
        $t->eq($shown, $list['error'] ?? item_texts($list), $name);
        $lines = is_file("$state/proxied.jsonl") ? file("$state/proxied.jsonl", FILE_IGNORE_NEW_LINES) : [];
        $t->eq($asked, array_map(static fn(string $l): string => json_decode($l, true)[0], $lines), "$name: asked");
    }
    foreach ($env as $name) {
        putenv($name);
    }
    configure();
});

$t->test('feeds are fetched with a browser user agent', function () use ($t, $base) {
    $agent = item_texts(read_list($t, news($base . 'ua.xml')))[0] ?? '';
    $t->check(str_starts_with($agent, 'Mozilla/5.0 (') && !str_contains(strtolower($agent), 'curl'), $agent);
});

$t->test('the cache serves fresh copies and the last good copy on failure', function () use ($t, $base, $state) {
    $url = $base . 'counted.xml?name=a';
    $t->eq(['Fetch 1'], item_texts(read_list($t, news($url, 60))));
    $t->eq(['Fetch 1'], item_texts(read_list($t, news($url, 60))), 'fresh copy reused');
    $t->eq(1, hits('a'), 'one fetch within the cache time');
    $t->eq(['Fetch 2'], item_texts(read_list($t, news($url, 0))), 'cache time 0 fetches');
    $t->eq(['Fetch 1'], item_texts(read_list($t, news($url, 60))), '0 neither read nor replaced the copy');
    $t->eq(1, age_cache('news-*.php'), 'one cache file');
    $t->eq(['Fetch 3'], item_texts(read_list($t, news($url, 60))), 'an old copy is fetched again');
    touch("$state/fail-a");
    age_cache('news-*.php');
    $t->eq(['Fetch 3'], item_texts(read_list($t, news($url, 60))), 'last good copy while the feed fails');
    $t->eq(4, hits('a'), 'the failing feed was asked');
    $t->contains('HTTP status 500', (string)read_list($t, news($url, 0))['error'], 'no copy used with cache time 0');
    touch("$state/fail-b");
    $t->contains('HTTP status 500', (string)read_list($t, news($base . 'counted.xml?name=b', 60))['error'],
        'no copy yet: the failure shows');
    foreach (glob(dirname($state) . '/cache/news-*.php') as $file) {
        $t->check(str_starts_with((string)file_get_contents($file), '<?php exit; ?>'), 'cache files print nothing on the web');
    }
    $url = $base . 'counted.xml?name=future';
    $t->eq(['Fetch 1'], item_texts(read_list($t, news($url, 60))));
    touch(F\cache_file('news', F\news_cache_key($url, 10), F\settings()), time() + 86400);
    $t->eq(['Fetch 2'], item_texts(read_list($t, news($url, 60))), 'a copy dated in the future is not fresh');
    touch(F\cache_file('news', F\news_cache_key($url, 10), F\settings()), time() + 86400);
    touch("$state/fail-future");
    $t->contains('HTTP status 500', (string)read_list($t, news($url, 60))['error'], 'nor a last good copy');
});

$t->test('the fallback cache folder is one that no other account can write', function () use ($t, $tmp) {
    $dir = realpath($tmp->path) . '/host';
    mkdir("$dir/site", 0777, true);
    copy(FEEDREADER, "$dir/site/feedreader.php");
    file_put_contents("$dir/file", 'x');
    file_put_contents("$dir/site/feedreader-config.php", "<?php return ['cache_dir' => '$dir/file/cache'];");
    $fallback = "$dir/feedreader-cache-" . substr(sha1("$dir/site"), 0, 12);
    $cases = [ // what was there before, and whether it is used
        'nothing' => [static fn(): bool => true, true],
        'a world-writable folder' => [static fn(): bool => mkdir($fallback) && chmod($fallback, 0777), false],
        'a group-writable folder' => [static fn(): bool => mkdir($fallback) && chmod($fallback, 0730), false],
        'a link to a private folder' => [static fn(): bool => mkdir("$dir/elsewhere", 0700) && symlink("$dir/elsewhere", $fallback), false],
        'a folder of another account' => [static fn(): bool => mkdir($fallback, 0700) && @chown($fallback, 65534), false],
    ];
    foreach ($cases as $name => [$plant, $used]) {
        TempDir::remove($fallback);
        if (!$plant()) {
            echo "     (skipped \"$name\": only root can make it)\n";
            continue;
        }
        $code = 'require "feedreader.php"; echo json_encode(Zolt\\Feedreader\\cache_dir(Zolt\\Feedreader\\settings()));';
        $t->eq([0, $used ? json_encode($fallback) : 'null'], array_slice(run_php(['-d', "sys_temp_dir=$dir", '-r', $code],
            '', [], "$dir/site"), 0, 2), $name);
        $t->check($name !== 'nothing' || sprintf('%o', (int)@fileperms($fallback)) === '40700', 'made private');
    }
});

$t->test('an unwritable cache folder falls back to the temporary folder', function () use ($t, $base, $tmp) {
    file_put_contents("{$tmp->path}/plainfile", 'x');
    configure(['cache_dir' => "{$tmp->path}/plainfile/cache"]);
    $dir = F\cache_dir(F\settings());
    $t->require($dir !== null, 'a cache folder');
    $t->check(str_starts_with($dir, rtrim(sys_get_temp_dir(), '/') . '/feedreader-cache-'), $dir);
    foreach (glob("$dir/news-*.php") as $old) {
        unlink($old);
    }
    $t->eq(['Fetch 1'], item_texts(read_list($t, news($base . 'counted.xml?name=tmp', 60))));
    $t->eq(1, count(glob("$dir/news-*.php")), 'the copy is kept there');
    $t->eq(['Fetch 1'], item_texts(read_list($t, news($base . 'counted.xml?name=tmp', 60))), 'and read back');
    TempDir::remove($dir);
    configure();
});

$t->test('retired news search addresses are asked in their current form', function () use ($t, $base) {
    $cases = [
        'http://news.google.com/news?pz=1&cf=all&ned=es_us&hl=en&q=red+car&cf=all&output=rss'
            => 'https://news.google.com/rss/search?q=red+car&hl=en-US&gl=US&ceid=US:en',
        'HTTPS://NEWS.GOOGLE.COM/news?q=caf%E9&output=rss'
            => 'https://news.google.com/rss/search?q=caf%C3%A9&hl=en-US&gl=US&ceid=US:en',
        'http://news.google.com/news?pz=1&cf=all&ned=es_us&hl=en&q=caf%C3%A9+%26+bar%23&cf=all&output=rss'
            => 'https://news.google.com/rss/search?q=caf%C3%A9+%26+bar%23&hl=en-US&gl=US&ceid=US:en',
        'http://newsapi.bbc.co.uk/feeds/search/news+sport/c%2B%2B+code'
            => 'https://news.google.com/rss/search?q=c%2B%2B+code+site%3Abbc.co.uk&hl=en-US&gl=US&ceid=US:en',
        'http://news.search.yahoo.com/news/rss?p=%E9t%E9&ei=UTF-8&fl=0&x=wrt'
            => 'https://news.search.yahoo.com/rss?p=%C3%A9t%C3%A9',
        'http://news.search.yahoo.com/news/rss?p=red+car&ei=UTF-8&fl=0&x=wrt'
            => 'https://news.search.yahoo.com/rss?p=red+car',
        'http://newsapi.bbc.co.uk/feeds/search/news+sport/red+car'
            => 'https://news.google.com/rss/search?q=red+car+site%3Abbc.co.uk&hl=en-US&gl=US&ceid=US:en',
    ];
    $unchanged = [
        'https://news.google.com/rss/search?q=x&hl=en-US&gl=US&ceid=US:en',
        'http://news.google.com/news',
        'http://example.com/news?q=x',
        'http://newsapi.bbc.co.uk/feeds/other',
        'https://news.search.yahoo.com/rss?p=x',
        'ftp://news.google.com/news?q=x',
    ];
    $defaults = new F\Settings();
    foreach ($cases as $old => $new) {
        $t->eq($new, F\current_search_url($old, $defaults), $old);
    }
    foreach ($unchanged as $url) {
        $t->eq($url, F\current_search_url($url, $defaults), $url);
    }
    // Through the library, with the services' stand-ins.
    $t->eq(['q=red car hl=en-US gl=US ceid=US:en'], item_texts(read_list($t, news(array_key_first($cases)))));
    $t->eq(['p=red car'], item_texts(read_list($t, news('http://news.search.yahoo.com/news/rss?p=red+car&ei=UTF-8&fl=0&x=wrt'))));
    $t->eq(['q=red car site:bbc.co.uk hl=en-US gl=US ceid=US:en'],
        item_texts(read_list($t, news('http://newsapi.bbc.co.uk/feeds/search/news+sport/red+car'))));
});

// The eBay sites of the tool, by name and id.
const TOOL_SITES = [
    'Australia' => 15, 'Austria' => 16, 'Belgium(Dutch)' => 123, 'Belgium(French)' => 23, 'Canada' => 2,
    'China' => 223, 'France' => 71, 'Germany' => 77, 'Hong Kong' => 201, 'Ireland' => 205, 'India' => 203,
    'Italy' => 101, 'Malaysia' => 107, 'Netherlands' => 146, 'Philippines' => 211, 'Poland' => 212,
    'Singapore' => 216, 'Sweden' => 218, 'Spain' => 186, 'Switzerland' => 193, 'Taiwan' => 196,
    'United Kingdom' => 3, 'United States' => 0,
];
const BROWSE_MARKETPLACES = ['EBAY_US', 'EBAY_AT', 'EBAY_AU', 'EBAY_BE', 'EBAY_CA', 'EBAY_CH', 'EBAY_DE',
    'EBAY_ES', 'EBAY_FR', 'EBAY_GB', 'EBAY_HK', 'EBAY_IE', 'EBAY_IT', 'EBAY_MY', 'EBAY_NL', 'EBAY_PH',
    'EBAY_PL', 'EBAY_SG', 'EBAY_TW'];

$t->test('without API keys: tracked search links on each of the 23 sites', function () use ($t) {
    configure();
    searches();
    foreach (TOOL_SITES as $name => $id) {
        $list = read_list($t, ebay('5338000001', $id, 'digital camera', 'lens', 0, 10));
        $t->eq(["Find \u{201C}digital camera\u{201D} on eBay $name", "Find \u{201C}lens\u{201D} on eBay $name"],
            item_texts($list), $name);
        $link = (string)($list['items'][0]['link'] ?? '');
        parse_str((string)parse_url($link, PHP_URL_QUERY), $q);
        $t->check(preg_match('#^https://www\.([a-z]+\.)?ebay\.[a-z.]+/sch/i\.html\?#', $link) === 1, "$name: $link");
        $t->eq(['digital camera', '5338000001', '1'], [$q['_nkw'] ?? null, $q['campid'] ?? null, $q['mkevt'] ?? null],
            "$name query");
    }
    $hosts = [77 => 'www.ebay.de', 3 => 'www.ebay.co.uk', 0 => 'www.ebay.com', 23 => 'www.befr.ebay.be',
        123 => 'www.benl.ebay.be', 2 => 'www.ebay.ca'];
    foreach ($hosts as $id => $host) {
        $link = read_list($t, ebay('1', (string)$id, 'x', 'y'))['items'][0]['link'] ?? '';
        $t->eq($host, parse_url((string)$link, PHP_URL_HOST), "site $id (given as text)");
    }
    $t->eq([], searches(), 'no API request without keys');
    $t->eq(1, count(read_list($t, ebay('1', 0, 'same', ' same '))['items']), 'one link when both keywords agree');
    $t->eq(["Find \u{201C}alt\u{201D} on eBay United States"], item_texts(read_list($t, ebay('1', 0, '  ', 'alt'))));
    $t->contains('No search keyword', (string)read_list($t, ebay('1', 0, '', ' '))['error']);
    $t->contains('not known', (string)read_list($t, ebay('1', 999, 'x', 'y'))['error']);
    $t->contains('not known', (string)read_list($t, ebay('1', 'abc', 'x', 'y'))['error']);
    $evil = read_list($t, ebay('"><script>', 0, '<b>x</b>', "caf\xE9"));
    $t->eq(["Find \u{201C}<b>x</b>\u{201D} on eBay United States", "Find \u{201C}caf\u{E9}\u{201D} on eBay United States"],
        item_texts($evil), 'typed text shown as text; Windows-1252 read as such');
});

$t->test('with API keys: items with picture, price and tracked link', function () use ($t) {
    with_keys();
    searches();
    $list = read_list($t, ebay('5338000002', 77, 'camera', 'lens', 0, 10));
    $t->eq(['camera item 1', 'camera item 2', '<script>alert(3)</script> & "three"'], item_texts($list));
    $first = $list['items'][0];
    $t->eq(['https://i.example.test/1.jpg', '11.50 EUR', 'https://www.ebay.example/itm/1?campid=5338000002&mkevt=1'],
        [$first['picture'], $first['price'], $first['link']]);
    parse_str((string)parse_url((string)$list['items'][1]['link'], PHP_URL_QUERY), $q);
    $t->eq(['5338000002', '77'], [$q['campid'] ?? null, $q['siteid'] ?? null], 'tracking added to a plain item link');
    $t->eq(null, $list['items'][2]['picture'], 'a javascript: picture is left out');
    $s = searches();
    $t->require(count($s) === 1, 'one search');
    $t->eq(['camera', '10', 'EBAY_DE', 'affiliateCampaignId=5338000002', 'Bearer tok-1'],
        [$s[0]['q'], $s[0]['limit'], $s[0]['marketplace'], $s[0]['context'], $s[0]['auth']]);

    read_list($t, ebay('5338000002', 77, 'camera', 'lens', 0, 2));
    $s = searches();
    $t->eq(['2', 'Bearer tok-1'], [$s[0]['limit'] ?? null, $s[0]['auth'] ?? null], 'limit sent; token reused');
    $t->eq(1, hits('token'), 'one token for both searches');
    $t->eq(2, count(read_list($t, ebay('5338000002', 77, 'camera', 'lens', 0, 2))['items']));
    searches();
    $t->eq("<div class=\"feedreader\">\n<ul class=\"feedreader-items\">\n</ul>\n</div>\n", ebay('1', 77, 'camera', 'lens', 0, 0));
    $t->eq([], searches(), 'no request for zero items');
});

$t->test('each site asks the API for a marketplace eBay knows', function () use ($t) {
    with_keys();
    searches();
    foreach (TOOL_SITES as $name => $id) {
        $t->eq(3, count(read_list($t, ebay('1', $id, 'camera', 'lens'))['items']), $name);
    }
    $s = searches();
    $t->eq(count(TOOL_SITES), count($s));
    $markets = array_combine(array_keys(TOOL_SITES), array_column($s, 'marketplace'));
    foreach ($markets as $name => $market) {
        $t->check(in_array($market, BROWSE_MARKETPLACES, true), "$name: $market");
    }
    $t->eq(['EBAY_DE', 'EBAY_GB', 'EBAY_US', 'EBAY_FR', 'EBAY_BE', 'EBAY_BE'],
        [$markets['Germany'], $markets['United Kingdom'], $markets['United States'], $markets['France'],
            $markets['Belgium(French)'], $markets['Belgium(Dutch)']]);
    $languages = array_combine(array_keys(TOOL_SITES), array_column($s, 'language'));
    $t->check(str_starts_with($languages['Belgium(French)'], 'fr-BE') && str_starts_with($languages['Belgium(Dutch)'], 'nl-BE'),
        'the Belgian sites differ by language');
});

$t->test('the alternative keyword, API failures and the fallback to links', function () use ($t, $state) {
    with_keys();
    searches();
    $t->eq(['lens item 1', 'lens item 2'], array_slice(item_texts(read_list($t, ebay('1', 0, 'nothing', 'lens'))), 0, 2),
        'alternative keyword when the main one finds nothing');
    $t->eq(['nothing', 'lens'], array_column(searches(), 'q'));
    $t->eq(["Find \u{201C}nothing\u{201D} on eBay United States", "Find \u{201C}nothing else\u{201D} on eBay United States"],
        item_texts(read_list($t, ebay('1', 0, 'nothing', 'nothing else'))), 'links when neither finds anything');
    foreach (['fail' => 'search answers 500', 'garbage' => 'search answers no JSON'] as $kw => $name) {
        $t->eq(["Find \u{201C}$kw\u{201D} on eBay United States", "Find \u{201C}lens\u{201D} on eBay United States"],
            item_texts(read_list($t, ebay('1', 0, $kw, 'lens'))), $name);
    }
    touch("$state/revoked-tok-1");
    $before = hits('token');
    $t->eq(3, count(read_list($t, ebay('1', 0, 'camera', 'lens'))['items']), 'a withdrawn token is renewed');
    $t->eq($before + 1, hits('token'));
    touch("$state/revoked-tok-" . hits('token'));
    touch("$state/fail-token");
    $t->eq(["Find \u{201C}camera\u{201D} on eBay United States", "Find \u{201C}lens\u{201D} on eBay United States"],
        item_texts(read_list($t, ebay('1', 0, 'camera', 'lens'))), 'links when no token can be had');
    unlink("$state/fail-token");
    configure(['ebay_client_id' => 'test-id', 'ebay_client_secret' => 'wrong']);
    $t->eq(2, count(read_list($t, ebay('1', 0, 'camera', 'lens'))['items']), 'links with wrong keys');
    $t->eq(1, count(glob(dirname($state) . '/cache/token-*.php')), 'the token is cached beside the feeds');
});

$t->test('eBay results are cached and kept while the API fails', function () use ($t, $state) {
    with_keys();
    searches();
    $t->eq(3, count(read_list($t, ebay('7', 3, 'camera', 'lens', 60))['items']));
    $t->check(searches() !== [], 'the first call searches');
    $t->eq(3, count(read_list($t, ebay('7', 3, 'camera', 'lens', 60))['items']));
    $t->eq([], searches(), 'no search within the cache time');
    age_cache('ebay-*.php');
    touch("$state/fail-search");
    $list = read_list($t, ebay('7', 3, 'camera', 'lens', 60));
    unlink("$state/fail-search");
    $t->eq(['camera item 1', 'camera item 2'], array_slice(item_texts($list), 0, 2), 'the last good copy');
    $t->eq(1, count(searches()), 'the API was asked again');
});

$t->test('the time-out is 10 seconds unless the settings say otherwise', function () use ($t, $tmp) {
    $dir = "{$tmp->path}/plain";
    mkdir($dir);
    copy(FEEDREADER, "$dir/feedreader.php");
    $code = 'require "feedreader.php"; echo Zolt\\Feedreader\\settings()->timeout;';
    $t->eq([0, '10'], array_slice(run_php(['-r', $code], '', [], $dir), 0, 2), 'no config file');
    foreach (["['cache_dir' => '']" => '10', "['timeout' => 0]" => '10', "['timeout' => 'x']" => '10', "['timeout' => 3]" => '3'] as $config => $want) {
        file_put_contents("$dir/feedreader-config.php", "<?php return $config;");
        $t->eq([0, $want], array_slice(run_php(['-r', $code], '', [], $dir), 0, 2), $config);
    }
});

/** A PHP double-quoted literal as the tool writes it: backslash, quote and dollar escaped. */
function php_quoted(string $text): string
{
    return '"' . addcslashes($text, '\\"$') . '"';
}

/** The snippet the tool writes for a news feed, CR LF line ends included. */
function tool_news_snippet(string $url, int $cache, bool $titles, int $num): string
{
    return "<?php\r\ninclude_once \"feedreader.php\";\r\ngetnewsfeed(" . php_quoted($url) . ",$cache,"
        . ($titles ? '1' : '0') . ",$num);\r\n?>\r\n";
}

function tool_ebay_snippet(string $campaign, string $site, string $kw, string $alt, int $cache, int $num): string
{
    return "<?php\r\ninclude_once \"feedreader.php\";\r\ngetebayfeed(" . php_quoted($campaign) . ",$site,"
        . php_quoted($kw) . ',' . php_quoted($alt) . ",$cache,$num);\r\n?>\r\n";
}

/** The feed finder's addresses, composed as the tool does. */
function tool_search_url(int $source, string $keyword): string
{
    // Blanks as "+", every byte but the unreserved ones percent-encoded.
    $k = str_replace('%20', '+', rawurlencode(trim($keyword)));
    return [
        "http://news.google.com/news?pz=1&cf=all&ned=es_us&hl=en&q=$k&cf=all&output=rss",
        "http://news.search.yahoo.com/news/rss?p=$k&ei=UTF-8&fl=0&x=wrt",
        "http://newsapi.bbc.co.uk/feeds/search/news+sport/$k",
    ][$source];
}

$t->test('generated snippets beside the library on a web server', function () use ($t, $tmp, $base, $state) {
    $www = "{$tmp->path}/www";
    foreach (['keys', 'nokeys'] as $site) {
        mkdir("$www/$site", 0777, true);
        copy(FEEDREADER, "$www/$site/feedreader.php");
    }
    $config = ['timeout' => 5, 'ebay_token_url' => $base . 'identity/v1/oauth2/token',
        'ebay_browse_url' => $base . 'buy/browse/v1', 'google_news_search_url' => $base . 'rss/search',
        'yahoo_news_search_url' => $base . 'rss'];
    file_put_contents("$www/keys/feedreader-config.php", '<?php return ' . var_export(
        $config + ['ebay_client_id' => 'test-id', 'ebay_client_secret' => 'test-secret'], true) . ';');
    file_put_contents("$www/nokeys/feedreader-config.php", '<?php return ' . var_export($config, true) . ';');
    $pages = [
        'keys/rss.php' => [tool_news_snippet($base . 'rss2.xml', 120, true, 10), 'Plain RSS', ['First', 'Second', 'Third']],
        'keys/rdf.php' => [tool_news_snippet($base . 'rdf.xml', 120, false, 1), null, ['RDF one']],
        'keys/atom.php' => [tool_news_snippet($base . 'atom.xml', 0, true, 10), 'Atom <Feed>', ['Atom one', 'Atom two']],
        'keys/latin1.php' => [tool_news_snippet($base . 'latin1.xml', -5, true, 10), "Caf\u{E9} news", ["Caf\u{E9} opens", "Na\u{EF}ve item"]],
        'keys/google.php' => [tool_news_snippet(tool_search_url(0, '  rock & roll $1 '), 120, true, 10), 'Google stand-in',
            ['q=rock & roll $1 hl=en-US gl=US ceid=US:en']],
        'keys/yahoo.php' => [tool_news_snippet(tool_search_url(1, 'red car'), 120, true, 10), 'Yahoo stand-in', ['p=red car']],
        'keys/bbc.php' => [tool_news_snippet(tool_search_url(2, 'red car'), 120, true, 10), 'Google stand-in',
            ['q=red car site:bbc.co.uk hl=en-US gl=US ceid=US:en']],
        'keys/ebay.php' => [tool_ebay_snippet('5338000003', '77', 'camera "pro" $5', 'lens', 120, 10), null,
            ['camera "pro" $5 item 1', 'camera "pro" $5 item 2', '<script>alert(3)</script> & "three"']],
        'nokeys/ebay.php' => [tool_ebay_snippet('5338000003', '0', 'digital camera', 'lens', 120, 10), null,
            ["Find \u{201C}digital camera\u{201D} on eBay United States", "Find \u{201C}lens\u{201D} on eBay United States"]],
        'nokeys/missing.php' => [tool_news_snippet($base . 'missing.xml', 120, true, 10), null, []],
    ];
    foreach ($pages as $page => [$snippet, , ]) {
        file_put_contents("$www/$page", "<!DOCTYPE html>\n<html><body>\n$snippet</body></html>\n");
    }
    $web = new PhpServer($www, null, []);
    foreach ($pages as $page => [, $title, $texts]) {
        [$status, $body] = http_request($web->url($page), null, 'GET');
        $t->eq(200, $status, $page);
        $t->require(preg_match('#<body>\n(.*)</body>#s', $body, $m) === 1, "$page body: $body");
        $list = read_list($t, $m[1]);
        $t->eq($title, $list['title'], "$page title");
        $t->eq($texts, item_texts($list), "$page items");
        $t->check($texts !== [] || str_contains((string)$list['error'], '404'), "$page message");
    }
    $web->stop();
    $t->check(preg_match('/PHP (Warning|Notice|Deprecated|Fatal|Parse)/', $web->log()) === 0, 'no PHP warnings: ' . $web->log());
    $t->check(count(glob("$www/keys/feedreader-cache/news-*.php")) >= 4, 'the cache lies beside the library');
    $t->check(count(glob("$www/keys/feedreader-cache/ebay-*.php")) === 1, 'eBay results cached too');
    $t->check(is_file("$www/keys/feedreader-cache/.htaccess"), 'the cache folder is shut for the web');
});

$server->stop();
exit($t->finish());

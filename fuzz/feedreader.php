<?php
// Fuzzes feedreader.php's reading and printing of a feed: mutated copies of
// the test feeds (tests/server/feeds, tests/server/browser) go through
// Zolt\Feedreader\parse_feed and Zolt\Feedreader\render_feed. A finding is an input
// that makes PHP warn, throws anything but the library's own error, prints
// markup outside the list's own elements and attributes, a link that is
// not a web address or a title or summary over 300 characters, lets a
// wrapper's end tag through as text, or takes more than a second of CPU
// time. Findings are written to the findings folder with the reason beside
// them, and the run fails.
//   php fuzz/feedreader.php SECONDS [FINDINGS-DIR] [SEED]
//   php fuzz/feedreader.php --replay FILE...
// ZOLT_FEEDREADER sets the library to fuzz (default: server/feedreader).

declare(strict_types=1);

require getenv('ZOLT_FEEDREADER') ?: __DIR__ . '/../server/feedreader/feedreader.php';

const LIMIT_SECONDS = 1.0;
const MAX_INPUT = 256 * 1024;
const ALLOWED = ['div' => ['class'], 'h3' => ['class'], 'ul' => ['class'], 'li' => ['class'], 'p' => ['class'],
    'span' => ['class'], 'a' => ['class', 'href', 'rel']];
// Pieces that reach the library's corners: markup it must hide or keep, references, bases, character sets.
const TOKENS = ['<', '>', '&', ';', '"', "'", '/', ']]>', '<![CDATA[', '<!--', '-->', '<!DOCTYPE x>', '<!DOCTYPE',
    '&lt;!DOCTYPE ~', '<!ENTITY e "x">', '&e;', '&amp;', '&lt;', '&gt;', '&lt;iframe&gt;', '&lt;/iframe&gt;',
    '<iframe/>', '&lt;script&gt;', '&lt;object&gt;', '&lt;template&gt;', '<b>', '</b>', '<p/>', '&#0;', '&#x85;',
    '&#xD800;', '&#65;', '&nbsp;', '&hellip', '&copy', ' xml:base="../"', ' xml:base="http://127.0.0.1/b/"',
    'javascript:alert(1)', 'data:text/html,x', '//evil.example/', '/../../', '/./', 'http://', 'https://a/b?c#d',
    "\x00", "\xC2\x85", "\xFF\xFE", "\xEF\xBB\xBF", "\xE9", ' encoding="UTF-16"', ' encoding="x-unknown"',
    ' encoding="windows-1252"', '<item>', '</item>', '<entry>', '<title>', '</title>', '<link>', '</link>',
    '<description>', '</description>', '<dc:title xmlns:dc="http://purl.org/dc/elements/1.1/">x</dc:title>',
    '<media:title xmlns:media="http://search.yahoo.com/mrss/">m</media:title>', ' type="html"', ' type="xhtml"',
    ' mode="base64"', ' mode="escaped"', '<guid>http://127.0.0.1/g</guid>', '</html>', '</body>'];
const TYPES = ['', 'application/rss+xml', 'text/xml; charset=windows-1252', 'text/xml; charset=utf-16',
    'text/html; charset=koi8-r', 'application/xml; charset=x-none'];

/** @return list<string> */
function seeds(): array
{
    $files = array_merge(glob(__DIR__ . '/../tests/server/feeds/*.xml') ?: [], glob(__DIR__ . '/../tests/server/browser/*.xml') ?: []);
    return array_values(array_filter(array_map(static fn(string $f): string => (string)file_get_contents($f), $files),
        static fn(string $s): bool => $s !== ''));
}

function mutate(string $input, array $pool): string
{
    for ($steps = mt_rand(1, 6); $steps > 0; $steps--) {
        $length = strlen($input);
        $at = mt_rand(0, $length);
        $span = mt_rand(0, min(64, $length - $at));
        switch (mt_rand(0, 7)) {
            case 0: // a byte changed
                if ($length > 0) {
                    $input[mt_rand(0, $length - 1)] = chr(mt_rand(0, 255));
                }
                break;
            case 1:
            case 2: // a token put in
                $input = substr_replace($input, TOKENS[mt_rand(0, count(TOKENS) - 1)], $at, mt_rand(0, 1) ? 0 : $span);
                break;
            case 3: // a range removed
                $input = substr_replace($input, '', $at, $span);
                break;
            case 4: // a range repeated, so that runs and nesting grow
                $input = substr_replace($input, str_repeat(substr($input, $at, $span), mt_rand(2, 200)), $at, 0);
                break;
            case 5: // a piece of another input
                $other = $pool[mt_rand(0, count($pool) - 1)];
                $from = mt_rand(0, strlen($other));
                $input = substr_replace($input, substr($other, $from, mt_rand(0, 4096)), $at, $span);
                break;
            case 6: // an element's text moved between tags
                $input = preg_replace('#>([^<]{0,80})<#', '>' . substr($input, $at, $span) . '<', $input, 1) ?? $input;
                break;
            default: // cut short
                $input = substr($input, 0, $at);
        }
        if (strlen($input) > MAX_INPUT) {
            $input = substr($input, 0, MAX_INPUT);
        }
    }
    return $input;
}

/** @return list<string> what is wrong with the page that $html is, for input $input */
function check_output(string $html, string $input): array
{
    $problems = [];
    $doc = new DOMDocument();
    if (!@$doc->loadXML("<root>$html</root>", LIBXML_NONET)) {
        return ['the output is not well formed'];
    }
    foreach ($doc->getElementsByTagName('*') as $el) {
        if ($el->nodeName === 'root') {
            continue;
        }
        if (!isset(ALLOWED[$el->nodeName])) {
            $problems[] = "element <{$el->nodeName}>";
            continue;
        }
        foreach ($el->attributes as $attr) {
            if (!in_array($attr->name, ALLOWED[$el->nodeName], true)) {
                $problems[] = "attribute {$attr->name} on <{$el->nodeName}>";
            } elseif ($attr->name === 'href' && (preg_match('#^https?://[^\s/?\#]+#i', $attr->value) !== 1
                || strlen($attr->value) > 8192)) {
                $problems[] = 'link ' . substr($attr->value, 0, 80);
            }
        }
    }
    foreach ((new DOMXPath($doc))->query('//h3|//*[@class="feedreader-link"]|//p') as $text) {
        if (mb_strlen($text->textContent, 'UTF-8') > 301) {
            $problems[] = "a text of more than 300 characters in <{$text->nodeName}>";
        }
    }
    foreach (['</html>', '</body>', '</head>'] as $end) {
        if (stripos($doc->textContent, $end) !== false && stripos($input, substr($end, 2)) === false
            && stripos($input, '&lt;/' . substr($end, 2)) === false) {
            $problems[] = "the wrapper's $end shows as text";
        }
    }
    return $problems;
}

/** @return array{0:list<string>,1:string} the findings for one input, and what kind of result it gave */
function run_one(string $input, string $type, int $items): array
{
    $problems = [];
    $shape = '';
    set_error_handler(static function (int $level, string $message) use (&$problems): bool {
        // What the library silences on purpose (@) is no finding.
        if ((error_reporting() & $level) !== 0) {
            $problems[] = "PHP warns: $message";
        }
        return true;
    });
    // CPU time, not wall time: on a busy machine the clock says little about the work.
    $cpu = static fn(): float => ($u = getrusage())['ru_utime.tv_sec'] + $u['ru_utime.tv_usec'] / 1e6
        + $u['ru_stime.tv_sec'] + $u['ru_stime.tv_usec'] / 1e6;
    $start = $cpu();
    try {
        $feed = Zolt\Feedreader\parse_feed($input, $type, 'http://127.0.0.1/feeds/feed.xml', $items);
        $problems = array_merge($problems, check_output(Zolt\Feedreader\render_feed($feed, true, $items), $input));
        $shape = shape_of($feed);
    } catch (Zolt\Feedreader\FeedError $e) {
        // A clear refusal is a good answer.
        $shape = $e->getMessage();
    } catch (Throwable $e) {
        $problems[] = get_class($e) . ': ' . $e->getMessage();
    } finally {
        restore_error_handler();
    }
    $seconds = $cpu() - $start;
    if ($seconds > LIMIT_SECONDS) {
        $problems[] = sprintf('took %.2f s of CPU for %d bytes', $seconds, strlen($input));
    }
    return [$problems, $shape];
}

/** Which parts of the feed and of its first items are there, and roughly how long the summaries are. */
function shape_of(Zolt\Feedreader\Feed $feed): string
{
    $shape = [$feed->title !== '', $feed->link !== '', min(4, count($feed->items))];
    foreach (array_slice($feed->items, 0, 3) as $item) {
        $shape[] = [$item->title !== '', $item->link !== '', $item->time !== null, $item->summary !== '',
            min(3, intdiv(strlen($item->summary), 100))];
    }
    return json_encode($shape);
}

$args = array_slice($argv, 1);
if (($args[0] ?? '') === '--replay') {
    $failed = 0;
    foreach (array_slice($args, 1) as $file) {
        [$problems] = run_one((string)file_get_contents($file), '', 10);
        $failed += $problems === [] ? 0 : 1;
        echo basename($file), ': ', $problems === [] ? 'ok' : implode('; ', $problems), "\n";
    }
    exit($failed === 0 ? 0 : 1);
}

$seconds = (float)($args[0] ?? 10);
$findings = $args[1] ?? __DIR__ . '/../build/fuzz/findings/feedreader';
mt_srand(isset($args[2]) ? (int)$args[2] : random_int(0, PHP_INT_MAX));
$pool = seeds();
if ($pool === []) {
    fwrite(STDERR, "feedreader fuzz: no test feeds found\n");
    exit(1);
}
// Without a warning handler of its own an endless loop would end the run silently: a
// time limit of its own reports the input that hung.
$current = '';
register_shutdown_function(static function () use (&$current, $findings): void {
    $error = error_get_last();
    if ($error !== null && ($error['type'] & (E_ERROR | E_CORE_ERROR | E_COMPILE_ERROR)) !== 0) {
        @mkdir($findings, 0777, true);
        file_put_contents("$findings/fatal-" . sha1($current) . '.xml', $current);
        fwrite(STDERR, "feedreader fuzz: fatal error: {$error['message']}\n");
    }
});
$seen = [];
$runs = 0;
$found = 0;
$deadline = microtime(true) + $seconds;
while (microtime(true) < $deadline) {
    $current = mutate($pool[mt_rand(0, count($pool) - 1)], $pool);
    set_time_limit(30);
    $items = [1, 3, 10, 10, 10, 1000][mt_rand(0, 5)];
    [$problems, $shape] = run_one($current, TYPES[mt_rand(0, count(TYPES) - 1)], $items);
    $runs++;
    if ($problems !== []) {
        $found++;
        @mkdir($findings, 0777, true);
        $name = "$findings/" . sha1($current);
        file_put_contents("$name.xml", $current);
        file_put_contents("$name.txt", implode("\n", $problems) . "\n");
        echo "feedreader fuzz: finding ", basename($name), ': ', $problems[0], "\n";
        continue;
    }
    // An input that reads differently from all before it breeds further inputs.
    if (!isset($seen[$shape]) && count($pool) < 2000) {
        $seen[$shape] = true;
        $pool[] = $current;
    }
}
echo "feedreader fuzz: $runs inputs in $seconds s, " . count($pool) . " in the pool, $found findings\n";
exit($found === 0 ? 0 : 1);

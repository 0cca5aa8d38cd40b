<?php
// What one page view with feedreader.php costs for a 4 MiB feed of the
// worst shapes we know, next to a plain feed of the same size: the feed is
// served by `php -S` on 127.0.0.1 and read by getnewsfeed in a fresh php
// process (no cache, 10 items), which reports its wall time and its peak
// resident memory (the whole process, libxml included).
//   php bench/feedreader.php            prints one tab-separated row per figure,
//                                       as bench/run's table takes them
//   php bench/feedreader.php --cpu      the CPU time of each view instead of its
//                                       wall time, which a busy machine inflates
// ZOLT_FEEDREADER sets the library to measure (default: server/feedreader).

declare(strict_types=1);

if (($argv[1] ?? '') === '--view') {
    // The measured process: one page view, then its figures.
    require $argv[2];
    $start = hrtime(true);
    ob_start();
    getnewsfeed($argv[3], 0, 1, 10);
    $html = (string)ob_get_clean();
    $seconds = (hrtime(true) - $start) / 1e9;
    $failed = preg_match('#<li class="feedreader-error">(.*?)</li>#', $html, $m) === 1 ? $m[1] : '';
    $usage = getrusage();
    $cpu = $usage['ru_utime.tv_sec'] + $usage['ru_stime.tv_sec'] + ($usage['ru_utime.tv_usec'] + $usage['ru_stime.tv_usec']) / 1e6;
    echo json_encode(['s' => $seconds, 'cpu' => $cpu, 'kib' => $usage['ru_maxrss'], 'error' => $failed,
        'bytes' => strlen($html)]);
    exit(0);
}

const SIZE = 4 * 1024 * 1024;

/** $unit repeated to fill SIZE between $head and $tail. */
function fill(string $head, string $unit, string $tail): string
{
    return $head . str_repeat($unit, intdiv(SIZE - strlen($head) - strlen($tail), strlen($unit))) . $tail;
}

$rss = '<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel><title>Bench</title><link>http://127.0.0.1/</link>';
$end = '</channel></rss>';
$item = static fn(string $title, string $more = ''): string => "<item><title>$title</title><link>/item</link>$more</item>";
$shapes = [
    'plain feed' => fill($rss, $item('An ordinary item title', '<pubDate>Tue, 01 Dec 2026 10:00:00 GMT</pubDate>'
        . '<description>&lt;p&gt;A paragraph of an ordinary &lt;b&gt;summary&lt;/b&gt; that goes on for a while, '
        . 'as the summaries of real feeds do, with a &lt;a href="/x"&gt;link&lt;/a&gt;.&lt;/p&gt;</description>'), $end),
    'empty elements' => fill($rss . '<item><title>t</title><description>', '<i/>', "</description></item>$end"),
    'empty elements, attributes' => fill($rss . '<item><title>t</title><description>', '<i a="" b=""/>',
        "</description></item>$end"),
    'one long link' => fill($rss . '<item><title>t</title><link>http://127.0.0.1', '/a', "</link></item>$end"),
    'dot segments in a link' => fill($rss . '<item><title>t</title><link>http://127.0.0.1', '/a/..', "</link></item>$end"),
    'small items' => fill($rss, $item('t', '<description>&lt;b&gt;x</description>'), $end),
    'one long title' => fill($rss . '<item><title>', 'x', "</title></item>$end"),
    'document types' => fill($rss . '<item><title>t</title><description>', '&lt;!DOCTYPE a&gt;', "</description></item>$end"),
    'raw document types' => fill($rss . '<item><title>t</title><description>', '<!DOCTYPE a>', "</description></item>$end"),
    'nested HTML' => fill($rss . '<item><title>t</title><description>', '&lt;b&gt;', "</description></item>$end"),
    'HTML attributes' => fill($rss . '<item><title>t</title><description>', '&lt;i a b c d&gt;', "</description></item>$end"),
    'entity references' => fill('<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY e "x">]><rss version="2.0"><channel>'
        . '<item><title>t</title><description>', '&e;', "</description></item>$end"),
    'xml:base on every item' => fill($rss, '<item xml:base="/b/"><title>t</title><link>c</link></item>', $end),
    'Atom links under an 8 KB xml:base' => fill('<?xml version="1.0"?><feed xmlns="http://www.w3.org/2005/Atom"'
        . ' xml:base="http://127.0.0.1/' . str_repeat('a/', 3990) . '"><title>t</title>', '<entry><title>t</title>'
        . str_repeat('<link rel="edit" href="e"/>', 3000) . '<link href="x"/></entry>', '</feed>'),
];

$measure = in_array('--cpu', $argv, true) ? 'cpu' : 's';
$library = getenv('ZOLT_FEEDREADER') ?: __DIR__ . '/../server/feedreader/feedreader.php';
$dir = sys_get_temp_dir() . '/zolt-feedreader-bench-' . bin2hex(random_bytes(4));
mkdir($dir, 0700);
$names = [];
foreach ($shapes as $name => $body) {
    $file = preg_replace('/[^a-z]+/', '-', $name) . '.xml';
    file_put_contents("$dir/$file", $body);
    $names[$name] = $file;
}
// The config keeps the cache out of the source tree.
file_put_contents("$dir/feedreader-config.php", "<?php return ['cache_dir' => '$dir/cache', 'timeout' => 30];");
$libCopy = "$dir/lib/feedreader.php";
mkdir("$dir/lib");
copy($library, $libCopy);
rename("$dir/feedreader-config.php", "$dir/lib/feedreader-config.php");

$probe = stream_socket_server('tcp://127.0.0.1:0');
$port = (int)substr(strrchr(stream_socket_get_name($probe, false), ':'), 1);
fclose($probe);
$server = proc_open([PHP_BINARY, '-S', "127.0.0.1:$port", '-t', $dir], [['file', '/dev/null', 'r'],
    ['file', '/dev/null', 'w'], ['file', '/dev/null', 'w']], $pipes);
for ($i = 0; $i < 250 && @fsockopen('127.0.0.1', $port) === false; $i++) {
    usleep(20000);
}

try {
    $figures = [];
    foreach ($names as $name => $file) {
        $runs = [];
        // The median of three views.
        for ($run = 0; $run < 3; $run++) {
            // A view that takes a minute is cut off and reported as such.
            $out = shell_exec('timeout 60 ' . escapeshellarg(PHP_BINARY) . ' -d memory_limit=-1 -d max_execution_time=0 '
                . escapeshellarg(__FILE__) . ' --view ' . escapeshellarg($libCopy) . ' '
                . escapeshellarg("http://127.0.0.1:$port/$file") . ' 2>&1');
            $runs[] = json_decode((string)$out, true)
                ?? ['s' => 60.0, 'cpu' => 60.0, 'kib' => NAN, 'error' => trim((string)$out) ?: 'cut off after 60 s'];
        }
        usort($runs, static fn(array $a, array $b): int => $a[$measure] <=> $b[$measure]);
        $figures[$name] = $runs[1];
    }
} finally {
    proc_terminate($server);
    proc_close($server);
    foreach (array_merge(glob("$dir/*.xml"), glob("$dir/lib/*.php"), glob("$dir/cache/*") ?: []) as $f) {
        @unlink($f);
    }
    @unlink("$dir/cache/.htaccess");
    @rmdir("$dir/cache");
    @rmdir("$dir/lib");
    @rmdir($dir);
}

$plain = $figures['plain feed'];
foreach ($figures as $name => $f) {
    $note = $f['error'] !== '' ? " ({$f['error']})" : '';
    printf("%s\t%.3f\t%s\t%.3f\ts\t%.2f\t@<=2\n", "Feedreader 4 MiB, $name: " . ($measure === 'cpu' ? 'CPU time' : 'time')
        . $note, $f[$measure], 'plain 4 MiB feed', $plain[$measure], $f[$measure] / $plain[$measure]);
    printf("%s\t%.1f\t%s\t%.1f\tMiB\t%.2f\t@<=64\n", "Feedreader 4 MiB, $name: peak memory", $f['kib'] / 1024,
        'plain 4 MiB feed', $plain['kib'] / 1024, $f['kib'] / $plain['kib']);
}

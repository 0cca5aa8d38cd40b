<?php
// The reference news server run by `php -S` against a database filled
// through admin.php, as a reseller would set it up: the database named by
// ZOLT_NEWS_DSN (tests/server/with-news-db starts one), else an SQLite file.

declare(strict_types=1);

require __DIR__ . '/support/TestRunner.php';
require __DIR__ . '/support/Fixtures.php';

const NEWS_DIR = __DIR__ . '/../../server/news';
const PUBLIC_DIR = NEWS_DIR . '/public';
const SEP = "\xAF";

$t = new TestRunner();
$tmp = new TempDir();
$dsn = getenv('ZOLT_NEWS_DSN') ?: "sqlite:{$tmp->path}/db/news.db";
$env = ['ZOLT_NEWS_DSN' => $dsn];

function admin(array $args, string $stdin = '', array $env = []): array
{
    return run_php(array_merge([NEWS_DIR . '/admin.php'], $args), $stdin, $env);
}

/** The client's reading of "$hh" escapes; an undecodable escape empties the result. */
function decode_dollar_hex(string $s): string
{
    $out = '';
    for ($i = 0, $n = strlen($s); $i < $n;) {
        if ($s[$i] !== '$') {
            $out .= $s[$i++];
            continue;
        }
        $digits = substr($s, $i + 1, 2);
        if (preg_match('/^[0-9A-Fa-f]{1,2}$/', $digits) !== 1) {
            return '';
        }
        $out .= chr(hexdec($digits));
        $i += 1 + strlen($digits);
    }
    return $out;
}

function fields(string $publisher, string $product, string $level, string $fourth, string $fourthName = 'conttype'): array
{
    return ['memusername' => $publisher, 'prodcode' => $product, 'prodtype' => $level,
        $fourthName => $fourth, 'newstarget' => 'UA', 'something' => ''];
}

// Every byte value, with the ones the client would mangle at both ends.
$allBytes = " \r\n" . implode('', array_map('chr', range(0, 255))) . "$\xAFOK \n";
$seed = [
    ['init'],
    ['add-publisher', 'PUBM', 'BM'],
    ['add-publisher', 'PUBP', 'platinum'],
    ['add-publisher', 'PUBG', 'Gold'],
    ['add-publisher', 'QUIET', 'BG'],
    ['add-product', 'BRAND1'],
    ['add-product', 'BRAND2'],
];
$t->test('admin.php builds the database', function () use ($t, $seed, $env, $allBytes) {
    foreach ($seed as $args) {
        [$rc, , $err] = admin($args, '', $env);
        $t->eq(0, $rc, implode(' ', $args) . ": $err");
    }
    $items = [
        ['PUBM', 'BRAND1', 'Master one', '2026-01-01', '<p>M1</p>', '1'],
        ['PUBP', 'BRAND1', 'Platinum one', 'Jan 2', '<b>P1</b>', '2'],
        ['PUBG', 'BRAND1', 'Gold one', '3 January', '<p>G1</p>', '3'],
        ['PUBG', '*', 'Gold to all', 'today-ish', $allBytes, '4'],
        ['PUBG', 'BRAND2', 'Gold brand two', 'later', '<i>G2</i>', '5'],
    ];
    foreach ($items as [$pub, $prod, $title, $date, $body, $id]) {
        [$rc, $out, $err] = admin(['add-news', $pub, $prod, $title, $date, '-'], $body, $env);
        $t->eq(0, $rc, "add-news $title: $err");
        $t->eq("$id\n", $out, "id of $title");
    }
    $file = tempnam(sys_get_temp_dir(), 'zolt-news-body');
    file_put_contents($file, '<p>from a file</p>');
    [$rc, $out] = admin(['--id=40', 'add-news', 'PUBM', 'BRAND2', 'From file', '', $file], '', $env);
    unlink($file);
    $t->eq([0, "40\n"], [$rc, $out], 'add-news --id with a file');
    [$rc, $out] = admin(['list'], '', $env);
    $t->eq(0, $rc);
    $t->contains('PUBP  BP (Platinum)', $out);
    $t->contains('4  PUBG  *  today-ish  Gold to all', $out);
    $t->contains('40  PUBM  BRAND2  ' . date('Y-m-d') . '  From file', $out, 'empty date becomes today');
});

$t->test('admin.php refuses what would break the replies or the model', function () use ($t, $env) {
    $cases = [
        'title with ^' => [['add-news', 'PUBM', 'BRAND1', 'a^b', 'd', '-'], 2],
        'date with line break' => [['add-news', 'PUBM', 'BRAND1', 't', "d\n", '-'], 2],
        // What a title or date may hold, where the message says (in characters), and the longest that fit.
        'title with ^ after Я' => [['add-news', 'QUIET', 'BRAND1', 'Яx^', 'd', '-'], 2, 'b', 'at character 3'],
        'title with a right-to-left override' => [['add-news', 'QUIET', 'BRAND1', "a\u{202E}b", 'd', '-'], 2, 'b',
            'U+202E at character 2'],
        'title with a C1 control' => [['add-news', 'QUIET', 'BRAND1', "Я\u{9B}", 'd', '-'], 2, 'b', 'U+009B'],
        'title with a zero-width space' => [['add-news', 'QUIET', 'BRAND1', "a\u{200B}", 'd', '-'], 2, 'b', 'U+200B'],
        'title with a line separator' => [['add-news', 'QUIET', 'BRAND1', "a\u{2028}", 'd', '-'], 2, 'b', 'U+2028'],
        'title in Windows-1252' => [['add-news', 'QUIET', 'BRAND1', "caf\xE9", 'd', '-'], 2, 'b', 'from character 4'],
        'date with Я' => [['add-news', 'QUIET', 'BRAND1', 't', '1 Я', '-'], 2, 'b', 'at character 3'],
        'date with a byte order mark' => [['add-news', 'QUIET', 'BRAND1', 't', "\u{FEFF}1", '-'], 2, 'b', 'U+FEFF'],
        'title of 256 bytes' => [['add-news', 'QUIET', 'BRAND1', str_repeat('é', 128), 'd', '-'], 2, 'b', '256 bytes'],
        'date of 101 bytes' => [['add-news', 'QUIET', 'BRAND1', 't', str_repeat('1', 101), '-'], 2, 'b', '101 bytes'],
        'title of 255 bytes, date of 100' => [['add-news', 'QUIET', 'BRAND1', 'x' . str_repeat('é', 127),
            str_repeat('1', 100), '-'], 0],
        'title with the Persian zero-width non-joiner' => [['add-news', 'QUIET', 'BRAND1', "می\u{200C}خواهم", 'd', '-'], 0],
        'unknown publisher' => [['add-news', 'NOBODY', 'BRAND1', 't', 'd', '-'], 1],
        'unknown product' => [['add-news', 'PUBM', 'NOPE', 't', 'd', '-'], 1],
        'missing body file' => [['add-news', 'PUBM', 'BRAND1', 't', 'd', '/nonexistent/x.html'], 1],
        'taken --id' => [['--id=3', 'add-news', 'PUBM', 'BRAND1', 't', 'd', '-'], 1],
        'bad --id' => [['--id=0', 'add-news', 'PUBM', 'BRAND1', 't', 'd', '-'], 2],
        'duplicate publisher' => [['add-publisher', 'PUBM', 'BM'], 1],
        'unknown level' => [['add-publisher', 'X', 'Free'], 2],
        'blank-edged product' => [['add-product', ' B '], 2],
        'product named *' => [['add-product', '*'], 2],
        'wrong count' => [['add-product'], 2],
        'unknown command' => [['frobnicate'], 2],
        'no command' => [[], 2],
        'remove unknown news' => [['remove-news', '999'], 1],
        // A page the program would show as plain text, and the largest it lays
        // out (the page rule itself: tests/data/htmlshape, html_shape_test.php).
        'tables nested 9 deep' => [['add-news', 'QUIET', 'BRAND1', 't', 'd', '-'], 2,
            str_repeat('<table><tr><td>', 9)],
        'tables 8 and elements 100 deep' => [['add-news', 'QUIET', 'BRAND1', 't', 'd', '-'], 0,
            str_repeat('<table><tr><td>', 8) . str_repeat('<i>', 75) . '<p>x<p>y'],
        'account for an unknown publisher' => [['add-account', 'ann', 'NOBODY'], 1, "long-enough-pw\n"],
        'account with a short password' => [['add-account', 'ann', 'QUIET'], 2, "short\n"],
        'account with a password over 4096 bytes' => [['add-account', 'ann', 'QUIET'], 2,
            str_repeat('p', 4097) . "\n", 'at most 4096 bytes'],
        'account name with a blank' => [['add-account', 'a b', 'QUIET'], 2, "long-enough-pw\n"],
        'password of an unknown account' => [['set-password', 'nobody'], 1, "long-enough-pw\n"],
    ];
    foreach ($cases as $name => [$args, $code]) {
        [$rc, $out, $err] = admin($args, $cases[$name][2] ?? 'body', $env);
        $t->eq($code, $rc, "$name ($err)");
        $t->check($rc === 0 || $err !== '', "$name says why");
        $t->contains($cases[$name][3] ?? '', $err, $name);
        if ($rc === 0 && $args[0] === 'add-news') {
            $t->eq(0, admin(['remove-news', trim($out)], '', $env)[0], "$name: removed again");
        }
    }
    [$rc, $out] = admin(['--help']);
    $t->eq(0, $rc);
    foreach (['init', 'add-publisher', 'add-product', 'add-news', 'remove-news', 'list', 'ZOLT_NEWS_DSN'] as $word) {
        $t->contains($word, $out, '--help');
    }
    [$rc, , $err] = admin(['list'], '', ['ZOLT_NEWS_DSN' => 'sqlite:/nonexistent/dir/news.db']);
    $t->eq(1, $rc, 'list on a missing database');
    $t->contains('init', $err);
    $t->check(!file_exists('/nonexistent/dir/news.db'), 'no database made by list');
});

$server = new PhpServer(PUBLIC_DIR, null, $env);
$last = $server->url('getlastnews.php');
$details = $server->url('getnewsdetails.php');

$t->test('all and lastcode for each level', function () use ($t, $last) {
    $cases = [
        // level, publisher, product, "all" reply, "lastcode" reply
        ['BM', 'PUBM', 'BRAND1', '1^Master one^2026-01-01' . SEP . 'OK', '1^Master one' . SEP . 'OK'],
        ['BP', 'PUBP', 'BRAND1', '2^Platinum one^Jan 2' . SEP . 'OK', '2^Platinum one' . SEP . 'OK'],
        ['BG', 'PUBG', 'BRAND1', '4^Gold to all^today-ish' . SEP . '3^Gold one^3 January' . SEP . 'OK',
            '4^Gold to all' . SEP . 'OK'],
        ['BG', 'PUBG', 'BRAND2', '5^Gold brand two^later' . SEP . '4^Gold to all^today-ish' . SEP . 'OK',
            '5^Gold brand two' . SEP . 'OK'],
        ['BM', 'PUBM', 'BRAND2', '40^From file^' . date('Y-m-d') . SEP . 'OK', '40^From file' . SEP . 'OK'],
        ['BG', 'QUIET', 'BRAND1', 'OK', 'OK'],
    ];
    foreach ($cases as [$level, $pub, $prod, $all, $code]) {
        $t->eq([200, $all], http_request($last, fields($pub, $prod, $level, 'all')), "all $pub $prod");
        $t->eq([200, $code], http_request($last, fields($pub, $prod, $level, 'lastcode')), "lastcode $pub $prod");
    }
});

$t->test('details are escaped so that the client decodes the exact body', function () use ($t, $details, $allBytes) {
    [$status, $reply] = http_request($details, fields('PUBG', 'BRAND2', 'BG', '4', 'newsid'));
    $t->eq(200, $status);
    $t->require(str_ends_with($reply, SEP . 'OK'), 'details end with the marker');
    $escaped = substr($reply, 0, -3);
    $t->eq(1, preg_match('/^[A-Za-z0-9$]*$/', $escaped), 'only letters, digits and escapes');
    $t->eq($allBytes, decode_dollar_hex($escaped), 'round trip of every byte');
    [, $reply] = http_request($details, fields('PUBM', 'BRAND1', 'BM', '1', 'newsid'));
    $t->eq('$3Cp$3EM1$3C$2Fp$3E' . SEP . 'OK', $reply, 'a small page');
});

$t->test('identity and news id checks give the error words', function () use ($t, $last, $details) {
    $cases = [
        'unknown publisher' => [$last, fields('NOBODY', 'BRAND1', 'BM', 'all'), 'INVALIDUSER'],
        'empty publisher' => [$last, fields('', 'BRAND1', 'BM', 'all'), 'INVALIDUSER'],
        'publisher id that is no UTF-8' => [$last, fields("PUBM\xFF", 'BRAND1', 'BM', 'all'), 'INVALIDUSER'],
        'publisher id in other case' => [$last, fields('pubm', 'BRAND1', 'BM', 'all'), 'INVALIDUSER'],
        'wrong level' => [$last, fields('PUBM', 'BRAND1', 'BG', 'lastcode'), 'INVALIDUSER'],
        'empty level' => [$details, fields('PUBM', 'BRAND1', '', '1', 'newsid'), 'INVALIDUSER'],
        'unknown product' => [$last, fields('PUBM', 'OTHER', 'BM', 'all'), 'INVALIDPRODUCT'],
        'empty product' => [$details, fields('PUBM', '', 'BM', '1', 'newsid'), 'INVALIDPRODUCT'],
        'user checked before product' => [$details, fields('NOBODY', 'OTHER', 'BM', '1', 'newsid'), 'INVALIDUSER'],
        'unknown news id' => [$details, fields('PUBM', 'BRAND1', 'BM', '77', 'newsid'), 'INVALIDNEWS'],
        'news of another publisher' => [$details, fields('PUBM', 'BRAND1', 'BM', '3', 'newsid'), 'INVALIDNEWS'],
        'news of another product' => [$details, fields('PUBG', 'BRAND1', 'BG', '5', 'newsid'), 'INVALIDNEWS'],
        'news id with a sign' => [$details, fields('PUBM', 'BRAND1', 'BM', '+1', 'newsid'), 'INVALIDNEWS'],
        'news id with blanks' => [$details, fields('PUBM', 'BRAND1', 'BM', ' 1', 'newsid'), 'INVALIDNEWS'],
        'empty news id' => [$details, fields('PUBM', 'BRAND1', 'BM', '', 'newsid'), 'INVALIDNEWS'],
        'largest news id' => [$details, fields('PUBM', 'BRAND1', 'BM', str_repeat('9', 18), 'newsid'), 'INVALIDNEWS'],
        'huge news id' => [$details, fields('PUBM', 'BRAND1', 'BM', str_repeat('9', 30), 'newsid'), 'INVALIDNEWS'],
        'unknown conttype' => [$last, fields('PUBM', 'BRAND1', 'BM', 'ALL'), 'INVALIDREQUEST'],
    ];
    foreach ($cases as $name => [$url, $form, $word]) {
        $t->eq([200, $word], http_request($url, $form), $name);
    }
    $t->eq([405, 'INVALIDREQUEST'], http_request($last, null, 'GET'), 'GET is refused');
});

$t->test('news added and removed show in the next replies; no id is handed out twice', function () use ($t, $last, $env) {
    foreach (['Now', 'Later'] as $title) {
        [$rc, $out] = admin(['add-news', 'QUIET', 'BRAND1', $title, 'd', '-'], 'x', $env);
        $t->eq(0, $rc, $title);
        $t->check((int)$out > 40, "$title: above every id so far, deleted ones included ($out)");
        $t->eq([200, trim($out) . "^$title" . SEP . 'OK'], http_request($last, fields('QUIET', 'BRAND1', 'BG', 'lastcode')));
        $t->eq(0, admin(['remove-news', trim($out)], '', $env)[0]);
        $t->eq([200, 'OK'], http_request($last, fields('QUIET', 'BRAND1', 'BG', 'lastcode')));
        $ids[] = (int)$out;
    }
    $t->eq($ids[0] + 1, $ids[1], 'the id of a deleted item is not taken again');
});

$t->test('titles in every script reach the program as character references', function () use ($t, $last, $env) {
    // Letters whose UTF-8 holds the byte 0xAF (Я D0 AF, 是 E6 98 AF, گ DA AF), and the "&" of text that
    // would read as such a reference; everything else goes as written.
    $titles = ['Я и мы' => '&#1071; и мы', '这是新闻' => '这&#26159;新闻', 'گزارش' => '&#1711;زارش',
        'Tom & Jerry &#65;' => 'Tom & Jerry &#65;', 'Text &#1071; &#38;' => 'Text &#38;#1071; &#38;#38;'];
    foreach ($titles as $title => $wire) {
        [, $id] = admin(['add-news', 'QUIET', 'BRAND1', $title, '1 May', '-'], 'x', $env);
        $t->eq([200, trim($id) . "^$wire^1 May" . SEP . 'OK'], http_request($last, fields('QUIET', 'BRAND1', 'BG', 'all')),
            $title);
        $t->eq([200, trim($id) . "^$wire" . SEP . 'OK'], http_request($last, fields('QUIET', 'BRAND1', 'BG', 'lastcode')));
        admin(['remove-news', trim($id)], '', $env);
    }
});

$t->test('rows written around admin.php cannot garble a record nor act on a terminal', function () use ($t, $last, $dsn, $env) {
    $db = new PDO($dsn, getenv('ZOLT_NEWS_DB_USER') ?: null, getenv('ZOLT_NEWS_DB_PASSWORD') ?: null);
    $st = $db->prepare("INSERT INTO news (news_id, publisher_id, product_code, title, news_date, body)
        VALUES (50, 'QUIET', NULL, ?, ?, 'z')");
    $st->bindValue(1, 'a^b' . SEP . "c\n", PDO::PARAM_LOB);
    $st->bindValue(2, "x^y\u{202E}\x9B[2J", PDO::PARAM_LOB);
    $st->execute();
    $t->eq([200, "50^a b c ^x y\u{202E}\x9B[2J" . SEP . 'OK'], http_request($last, fields('QUIET', 'BRAND1', 'BG', 'all')));
    [, $out] = admin(['list'], '', $env);
    $t->contains("50  QUIET  *  x^y<U+202E><9B>[2J  a^b<AF>c<U+000A>", $out);
    $db->exec('DELETE FROM news WHERE news_id = 50');
});

$server->stop();

$t->test('admin.php does nothing when called over the web', function () use ($t, $env) {
    $server = new PhpServer(PUBLIC_DIR, NEWS_DIR . '/admin.php', $env);
    $t->eq([403, ''], http_request($server->url('admin.php'), ['x' => 'init']));
});

$t->test('a database file in a served folder is refused', function () use ($t, $tmp) {
    // The request scripts from a copy of their own, apart from the document root.
    $site = "{$tmp->path}/site";
    foreach (glob(NEWS_DIR . '/{lib,public}/*.php', GLOB_BRACE) as $file) {
        @mkdir("$site/" . basename(dirname($file)), 0777, true);
        copy($file, "$site/" . basename(dirname($file)) . '/' . basename($file));
    }
    copy(NEWS_DIR . '/config.php', "$site/config.php");
    @mkdir("{$tmp->path}/served");
    $cases = [ // the request scripts, where the database lies, and the folder it is refused for (null: used)
        'document root' => [PUBLIC_DIR, "{$tmp->path}/served/news.db", "{$tmp->path}/served"],
        'scripts\' folder' => ["$site/public", "$site/public/data/news.db", "$site/public"],
        'outside both' => ["$site/public", "$site/data/news.db", null],
    ];
    foreach ($cases as $name => [$scripts, $db, $refused]) {
        $env = ['ZOLT_NEWS_DSN' => "sqlite:$db"];
        $t->eq(0, admin(['init'], '', $env)[0], $name);
        $server = new PhpServer("{$tmp->path}/served", "$scripts/getlastnews.php", $env);
        $t->eq([200, $refused === null ? 'INVALIDUSER' : 'CONNECTIONFAIL'],
            http_request($server->url('getlastnews.php'), fields('P', 'B', 'BM', 'all')), $name);
        $server->stop();
        $t->eq($refused !== null, str_contains($server->log(), "news.db lies in $refused,"), "$name: logged");
    }
});

$t->test('an unavailable database answers CONNECTIONFAIL', function () use ($t, $tmp) {
    $missing = "{$tmp->path}/missing/news.db";
    touch("{$tmp->path}/empty.db");
    foreach (['missing file' => "sqlite:$missing", 'no tables' => "sqlite:{$tmp->path}/empty.db",
                 'unknown driver' => 'nosuchdriver:x'] as $name => $dsn) {
        $server = new PhpServer(PUBLIC_DIR, null, ['ZOLT_NEWS_DSN' => $dsn]);
        $t->eq([200, 'CONNECTIONFAIL'], http_request($server->url('getlastnews.php'), fields('PUBM', 'BRAND1', 'BM', 'all')), $name);
        $t->eq([200, 'CONNECTIONFAIL'],
            http_request($server->url('getnewsdetails.php'), fields('PUBM', 'BRAND1', 'BM', '1', 'newsid')), $name);
        $server->stop();
        $t->check(!str_contains($server->log(), 'Warning'), "$name: no PHP warning");
    }
    $t->check(!file_exists($missing), 'the reply scripts never create a database');
});

$t->test('the default database lies in the data folder, outside the served folder', function () use ($t) {
    $code = 'require "' . NEWS_DIR . '/lib/autoload.php"; echo Zolt\\News\\Store::settings()["dsn"];';
    [, $out] = run_php(['-r', $code], '', ['ZOLT_NEWS_DSN' => '']);
    $t->check(str_starts_with($out, 'sqlite:'), $out);
    $t->eq(realpath(NEWS_DIR . '/data'), realpath(dirname(substr($out, strlen('sqlite:')))), $out);
    [, $out] = run_php(['-r', $code], '', ['ZOLT_NEWS_DSN' => 'sqlite:/x/y.db']);
    $t->eq('sqlite:/x/y.db', $out, 'the environment overrides it');
});

exit($t->finish());

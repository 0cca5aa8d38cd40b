<?php
// Fills an empty news database (made by "admin.php init") for the load
// benchmark: 1,000 publishers with one product each and 100,000 messages,
// message i belonging to publisher ((i - 1) mod 1000) + 1; every tenth
// round of messages goes to all products of its publisher. So the newest
// message of publisher p is 99000 + p, titled "News <id>".
//   ZOLT_NEWS_DSN=... php seed.php [PUBLISHERS] [MESSAGES]

declare(strict_types=1);

require __DIR__ . '/../../server/news/lib/autoload.php';

$publishers = (int)($argv[1] ?? 1000);
$messages = (int)($argv[2] ?? 100000);
$settings = Zolt\News\Store::settings();
$db = new PDO($settings['dsn'], $settings['user'] ?? null, $settings['password'] ?? null,
    [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
// The byte columns are bytea on PostgreSQL: values go over as large objects.
$bytes = $db->getAttribute(PDO::ATTR_DRIVER_NAME) === 'pgsql' ? PDO::PARAM_LOB : PDO::PARAM_STR;

/** Inserts $rows (lists of values, ints as ints) in statements of up to 500 rows. */
function insert_rows(PDO $db, int $bytes, string $table, array $columns, iterable $rows): void
{
    $flush = static function (array $batch) use ($db, $bytes, $table, $columns): void {
        if ($batch === []) {
            return;
        }
        $one = '(' . implode(', ', array_fill(0, count($columns), '?')) . ')';
        $st = $db->prepare("INSERT INTO $table (" . implode(', ', $columns) . ') VALUES '
            . implode(', ', array_fill(0, count($batch), $one)));
        $n = 0;
        foreach ($batch as $row) {
            foreach ($row as $value) {
                $st->bindValue(++$n, $value, $value === null ? PDO::PARAM_NULL : (is_int($value) ? PDO::PARAM_INT : $bytes));
            }
        }
        $st->execute();
    };
    $batch = [];
    foreach ($rows as $row) {
        $batch[] = $row;
        if (count($batch) === 500) {
            $flush($batch);
            $batch = [];
        }
    }
    $flush($batch);
}

$levels = ['BM', 'BP', 'BG'];
$db->beginTransaction();
insert_rows($db, $bytes, 'publishers', ['publisher_id', 'level_code'], (static function () use ($publishers, $levels) {
    for ($p = 1; $p <= $publishers; $p++) {
        yield [sprintf('PUB%04d', $p), $levels[$p % 3]];
    }
})());
insert_rows($db, $bytes, 'products', ['product_code'], (static function () use ($publishers) {
    for ($p = 1; $p <= $publishers; $p++) {
        yield [sprintf('BRAND%04d', $p)];
    }
})());
insert_rows($db, $bytes, 'news', ['news_id', 'publisher_id', 'product_code', 'title', 'news_date', 'body'],
    (static function () use ($publishers, $messages) {
        for ($i = 1; $i <= $messages; $i++) {
            $p = ($i - 1) % $publishers + 1;
            $round = intdiv($i - 1, $publishers);
            yield [$i, sprintf('PUB%04d', $p), $round % 10 === 9 ? null : sprintf('BRAND%04d', $p), "News $i",
                '2026-12-09', "<p>Message $i of publisher $p.</p>"];
        }
    })());
// Ids go on above the seeded ones, as if admin.php had handed them out.
$db->exec("UPDATE news_high_water SET last_id = $messages");
$db->commit();
if ($db->getAttribute(PDO::ATTR_DRIVER_NAME) === 'pgsql') {
    $db->exec('ANALYZE');
}
echo "$publishers publishers, $messages messages\n";

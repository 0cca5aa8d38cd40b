<?php
// Command-line administration of the news database; run "php admin.php --help".

declare(strict_types=1);

if (PHP_SAPI !== 'cli') {
    // Reachable by URL once uploaded: it must never act for a web visitor.
    http_response_code(403);
    exit;
}

require_once __DIR__ . '/lib/AdminStore.php';
require_once __DIR__ . '/lib/NewsRules.php';

const ADMIN_USAGE = <<<'TXT'
Usage: php admin.php [--dsn=DSN] COMMAND [ARGUMENTS]

Commands:
  init
      Creates the database tables and their index (an SQLite file and its
      folder too, in WAL mode, so that readers never wait for a writer).
      Running it again keeps what is there and adds what is missing.
  add-publisher PUBLISHERID LEVEL
      Registers a publisher id for one level. LEVEL is BM, BP or BG, or the
      level's name Master, Platinum or Gold. A copy of the tool may ask for
      this publisher's news only with the same level.
  add-product PRODUCTCODE
      Registers a product code (the brander code of a branded copy).
  add-news [--id=N] PUBLISHERID PRODUCTCODE TITLE DATE HTMLFILE
      Adds a news item of the publisher for the product, or for every
      product when PRODUCTCODE is "*". DATE is shown as written ("" gives
      today's date as YYYY-MM-DD). HTMLFILE is the body, "-" reads it from
      standard input; a body the program would show as plain text (over
      2 MiB, tables nested deeper than 8, elements deeper than 100) is refused. Prints the new item's id; without --id it is one more
      than the highest id so far, so newer items always have higher ids.
  remove-news NEWSID
      Deletes a news item.
  add-account USER PUBLISHERID
      Adds an account of the news admin site (admin/) that reads and writes
      the news of this publisher only. The password is asked on the terminal,
      or read as the first line of standard input (never from the command
      line, where other users could see it); at least 10 characters.
  set-password USER
      Gives the account a new password (read the same way) and signs it out.
  remove-account USER
      Removes the account and signs it out; its news stay.
  list
      Shows publishers, products, accounts and news items.
  help, --help, -h
      Shows this text.

The database is the one named in config.php; the environment variable
ZOLT_NEWS_DSN (or the option --dsn) overrides it, e.g.
  ZOLT_NEWS_DSN=sqlite:/tmp/demo/news.db php admin.php init

Ids, codes, titles and dates travel unescaped inside the replies, so they
may not hold line breaks or other control characters, "^" or the byte 0xAF
(which is also part of some UTF-8 letters, such as Cyrillic capital Ya).
Exit status: 0 done, 1 failed, 2 wrong usage.
TXT;

final class UsageError extends RuntimeException
{
}

/** What the command line asks for: the options taken out, the command and its arguments left. */
final class AdminRequest
{
    public function __construct(
        public readonly ?array $settings,
        public readonly ?int $newsId,
        public readonly bool $help,
        public readonly ?string $command,
        public readonly array $args,
    ) {
    }

    public static function parse(array $argv): self
    {
        $settings = null;
        $newsId = null;
        $help = false;
        $rest = [];
        foreach (array_slice($argv, 1) as $arg) {
            if (str_starts_with($arg, '--dsn=')) {
                $settings = NewsStore::settings();
                $settings['dsn'] = substr($arg, 6);
            } elseif (str_starts_with($arg, '--id=')) {
                $value = substr($arg, 5);
                if (preg_match('/^[1-9][0-9]{0,17}$/', $value) !== 1) {
                    throw new UsageError("--id needs a positive whole number, not \"$value\"");
                }
                $newsId = (int)$value;
            } elseif (in_array($arg, ['--help', '-h', 'help'], true)) {
                $help = true;
            } else {
                $rest[] = $arg;
            }
        }
        return new self($settings, $newsId, $help, array_shift($rest), $rest);
    }
}

/** Every command: how many arguments it takes and the function that carries it out. */
const ADMIN_COMMANDS = [
    'init' => [0, 'admin_init'],
    'add-publisher' => [2, 'admin_add_publisher'],
    'add-product' => [1, 'admin_add_product'],
    'add-news' => [5, 'admin_add_news'],
    'remove-news' => [1, 'admin_remove_news'],
    'list' => [0, 'admin_list'],
    'add-account' => [2, 'admin_add_account'],
    'set-password' => [1, 'admin_set_password'],
    'remove-account' => [1, 'admin_remove_account'],
];

function admin_main(array $argv): int
{
    $request = AdminRequest::parse($argv);
    if ($request->help) {
        echo ADMIN_USAGE, "\n";
        return 0;
    }
    $command = $request->command;
    if ($command === null || !isset(ADMIN_COMMANDS[$command])) {
        throw new UsageError($command === null ? 'no command given' : "unknown command \"$command\"");
    }
    [$count, $handler] = ADMIN_COMMANDS[$command];
    if (count($request->args) !== $count) {
        throw new UsageError("$command takes $count argument(s), " . count($request->args) . ' given');
    }
    if ($request->newsId !== null && $command !== 'add-news') {
        throw new UsageError('--id belongs to add-news');
    }
    $handler(NewsStore::open($command === 'init', $request->settings), $request);
    return 0;
}

function admin_init(NewsStore $store, AdminRequest $request): void
{
    $store->createSchema();
    echo "Database ready.\n";
}

function admin_add_publisher(NewsStore $store, AdminRequest $request): void
{
    [$publisher, $level] = $request->args;
    admin_check_key('publisher id', $publisher);
    $code = admin_level_code($level);
    $store->addPublisher($publisher, $code);
    echo "Publisher $publisher added for the level " . NewsStore::LEVELS[$code] . " ($code).\n";
}

function admin_add_product(NewsStore $store, AdminRequest $request): void
{
    admin_check_key('product code', $request->args[0]);
    $store->addProduct($request->args[0]);
    echo "Product {$request->args[0]} added.\n";
}

/**
 * Why this account cannot use an SQLite database, when the database or its
 * folder may not be written by it: typically one that the web server's
 * account made and owns. Null for other databases and other failures.
 */
function admin_ownership_problem(array $argv): ?string
{
    $settings = AdminRequest::parse($argv)->settings ?? NewsStore::settings();
    $dsn = (string)($settings['dsn'] ?? '');
    $file = substr($dsn, strlen('sqlite:'));
    if (!str_starts_with($dsn, 'sqlite:') || $file === '' || $file === ':memory:') {
        return null;
    }
    $name = static fn (int $uid): string =>
        (function_exists('posix_getpwuid') ? posix_getpwuid($uid)['name'] ?? null : null) ?? "number $uid";
    foreach ([$file, dirname($file)] as $path) {
        if (file_exists($path) && !is_writable($path)) {
            $owner = $name((int)fileowner($path));
            return "the database $path belongs to the account \"$owner\", and this account (\""
                . $name(function_exists('posix_geteuid') ? posix_geteuid() : -1) . "\") may not write it. Run admin.php as that account, "
                . "for example: sudo -u $owner php admin.php ...";
        }
    }
    return null;
}

function admin_add_news(NewsStore $store, AdminRequest $request): void
{
    [$publisher, $product, $title, $date, $file] = $request->args;
    admin_require_publisher($store, $publisher);
    if ($product !== '*' && !$store->productExists($product)) {
        throw new RuntimeException("no product \"$product\"; add it with add-product");
    }
    if ($date === '') {
        $date = date('Y-m-d');
    }
    admin_check_text('title', $title, NewsRules::MAX_TITLE_BYTES);
    admin_check_text('date', $date, NewsRules::MAX_DATE_BYTES);
    $body = $file === '-' ? stream_get_contents(STDIN) : @file_get_contents($file);
    if ($body === false) {
        throw new RuntimeException("cannot read \"$file\"");
    }
    $problem = NewsRules::pageProblem($body);
    if ($problem !== null) {
        throw new UsageError($problem);
    }
    echo $store->addNews($publisher, $product === '*' ? null : $product, $title, $date, $body,
        $request->newsId), "\n";
}

function admin_remove_news(NewsStore $store, AdminRequest $request): void
{
    $id = $request->args[0];
    if (preg_match('/^[0-9]{1,18}$/', $id) !== 1 || !$store->removeNews((int)$id)) {
        throw new RuntimeException("no news item \"$id\"");
    }
}

function admin_add_account(NewsStore $store, AdminRequest $request): void
{
    [$user, $publisher] = $request->args;
    admin_check_user($user);
    admin_require_publisher($store, $publisher);
    (new AdminStore($store))->addAccount($user, $publisher, admin_read_password());
}

function admin_set_password(NewsStore $store, AdminRequest $request): void
{
    $user = $request->args[0];
    $accounts = new AdminStore($store);
    if ($accounts->account($user) === null) {
        throw new RuntimeException("no account \"$user\"");
    }
    $accounts->setPassword($user, admin_read_password());
}

function admin_remove_account(NewsStore $store, AdminRequest $request): void
{
    if (!(new AdminStore($store))->removeAccount($request->args[0])) {
        throw new RuntimeException("no account \"{$request->args[0]}\"");
    }
}

function admin_require_publisher(NewsStore $store, string $publisher): void
{
    if ($store->publisherLevel($publisher) === null) {
        throw new RuntimeException("no publisher \"$publisher\"; add it with add-publisher");
    }
}

function admin_level_code(string $level): string
{
    if (isset(NewsStore::LEVELS[strtoupper($level)])) {
        return strtoupper($level);
    }
    foreach (NewsStore::LEVELS as $code => $name) {
        if (strcasecmp($name, $level) === 0) {
            return $code;
        }
    }
    throw new UsageError("unknown level \"$level\"; use BM (Master), BP (Platinum) or BG (Gold)");
}

function admin_check_key(string $what, string $value): void
{
    if ($value === '' || $value === '*' || trim($value) !== $value) {
        throw new UsageError("the $what may not be empty, \"*\" or begin or end with blanks");
    }
    admin_check_text($what, $value, 100);
}

function admin_check_text(string $what, string $value, int $maxBytes): void
{
    $problem = NewsRules::textProblem($what, $value, $maxBytes);
    if ($problem !== null) {
        throw new UsageError($problem);
    }
}

function admin_check_user(string $user): void
{
    if (preg_match('/^[A-Za-z0-9._@-]{1,64}$/', $user) !== 1) {
        throw new UsageError('an account name is 1 to 64 letters, digits, ".", "_", "@" or "-"');
    }
}

/** The password: asked twice without echo on a terminal, else the first line of standard input. */
function admin_read_password(): string
{
    $terminal = stream_isatty(STDIN);
    if ($terminal) {
        fwrite(STDERR, 'Password: ');
        shell_exec('stty -echo');
    }
    try {
        $password = rtrim((string)fgets(STDIN, 4097), "\r\n");
        if ($terminal) {
            fwrite(STDERR, "\nThe same again: ");
            $again = rtrim((string)fgets(STDIN, 4097), "\r\n");
            fwrite(STDERR, "\n");
            if ($again !== $password) {
                throw new UsageError('the two passwords differ');
            }
        }
    } finally {
        if ($terminal) {
            shell_exec('stty echo');
        }
    }
    if (strlen($password) < 10 || strlen($password) > 4096) {
        throw new UsageError('a password has 10 to 4096 characters');
    }
    return $password;
}

function admin_list(NewsStore $store, AdminRequest $request): void
{
    echo "Publishers:\n";
    foreach ($store->all('publishers') as $row) {
        printf("  %s  %s (%s)\n", $row['publisher_id'], $row['level_code'], NewsStore::LEVELS[$row['level_code']] ?? '?');
    }
    echo "Products:\n";
    foreach ($store->all('products') as $row) {
        printf("  %s\n", $row['product_code']);
    }
    echo "Accounts:\n";
    foreach ((new AdminStore($store))->accounts() as $row) {
        printf("  %s  %s\n", $row['user_name'], $row['publisher_id']);
    }
    echo "News:\n";
    foreach ($store->all('news') as $row) {
        printf("  %s  %s  %s  %s  %s\n", $row['news_id'], $row['publisher_id'], $row['product_code'] ?? '*',
            $row['news_date'], $row['title']);
    }
}

try {
    exit(admin_main($argv));
} catch (UsageError $e) {
    fwrite(STDERR, 'admin.php: ' . $e->getMessage() . "\nRun \"php admin.php --help\" for the commands.\n");
    exit(2);
} catch (PDOException | NewsStoreUnavailable $e) {
    if (($problem = admin_ownership_problem($argv)) !== null) {
        fwrite(STDERR, "admin.php: $problem\n");
        exit(1);
    }
    if ($e instanceof NewsStoreUnavailable) {
        fwrite(STDERR, 'admin.php: cannot open the database: ' . $e->getMessage()
            . "\nIs the DSN right, and was \"php admin.php init\" run?\n");
        exit(1);
    }
    $hint = str_contains($e->getMessage(), 'UNIQUE') || str_contains($e->getMessage(), 'Duplicate')
        || str_contains($e->getMessage(), 'unique') ? ' (it exists already)' : '';
    fwrite(STDERR, 'admin.php: database error' . $hint . ': ' . $e->getMessage() . "\n");
    exit(1);
} catch (Throwable $e) {
    fwrite(STDERR, 'admin.php: ' . $e->getMessage() . "\n");
    exit(1);
}

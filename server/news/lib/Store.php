<?php
// The news database: publishers, products and news items, over PDO so that
// the same scripts run on SQLite, MySQL/MariaDB or PostgreSQL. The SQL is the
// same on all of them, except for the type of the columns that hold bytes.
// News ids come from a high-water mark of their own instead of an
// auto-increment column, whose syntax and memory differ between the
// databases: an id is never handed out twice, not even after its item was
// deleted, as every copy that announced it takes only higher ids for news.

declare(strict_types=1);

namespace Zolt\News;

use PDO;
use PDOException;
use PDOStatement;

final class Store
{
    /** Level codes as the client sends them in "prodtype". */
    public const LEVELS = ['BM' => 'Master', 'BP' => 'Platinum', 'BG' => 'Gold'];

    /**
     * Column types for ids, titles, dates and bodies, which are bytes in no
     * particular character set and are compared byte for byte. SQLite keeps
     * and compares text as bytes; the text types of the database servers
     * would check the encoding, refuse some bytes and ignore case or
     * trailing blanks in comparisons, so they get binary types.
     */
    private const BYTE_TYPES = [
        'sqlite' => ['key' => 'VARCHAR(100)', 'title' => 'VARCHAR(255)', 'date' => 'VARCHAR(100)', 'body' => 'TEXT'],
        'mysql' => ['key' => 'VARBINARY(100)', 'title' => 'VARBINARY(255)', 'date' => 'VARBINARY(100)',
            'body' => 'LONGBLOB'],
        'pgsql' => ['key' => 'BYTEA', 'title' => 'BYTEA', 'date' => 'BYTEA', 'body' => 'BYTEA'],
    ];

    private PDO $db;
    private string $driver;

    private function __construct(PDO $db)
    {
        $this->db = $db;
        $this->driver = (string)$db->getAttribute(PDO::ATTR_DRIVER_NAME);
    }

    /** The configured connection settings, environment overrides applied. */
    public static function settings(): array
    {
        $config = require __DIR__ . '/../config.php';
        $env = [
            'dsn' => 'ZOLT_NEWS_DSN',
            'user' => 'ZOLT_NEWS_DB_USER',
            'password' => 'ZOLT_NEWS_DB_PASSWORD',
        ];
        foreach ($env as $key => $name) {
            $value = getenv($name);
            if (is_string($value) && $value !== '') {
                $config[$key] = $value;
            }
        }
        return $config;
    }

    /**
     * Opens the database. Without $create an SQLite file must exist already:
     * a mistyped path must read as an unavailable database, not quietly
     * become a new, empty one. An SQLite file under one of $servedFolders
     * (the folders a web server serves) is refused: anybody could download it.
     */
    public static function open(bool $create = false, ?array $settings = null, array $servedFolders = []): self
    {
        $settings ??= self::settings();
        $dsn = (string)($settings['dsn'] ?? '');
        $options = [
            PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
            PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
            PDO::ATTR_STRINGIFY_FETCHES => true,
        ];
        if (str_starts_with($dsn, 'sqlite:')) {
            $file = substr($dsn, strlen('sqlite:'));
            self::refuseServedFile($file, $servedFolders);
            if ($create && $file !== ':memory:' && $file !== '') {
                $dir = dirname($file);
                if (!is_dir($dir) && !@mkdir($dir, 0770, true) && !is_dir($dir)) {
                    throw new StoreUnavailable("cannot create the folder $dir");
                }
            }
            // Wait for a moment while admin.php writes instead of failing at once.
            $options[PDO::ATTR_TIMEOUT] = 5;
            $options[PDO::SQLITE_ATTR_OPEN_FLAGS] = $create
                ? (PDO::SQLITE_OPEN_READWRITE | PDO::SQLITE_OPEN_CREATE)
                : PDO::SQLITE_OPEN_READWRITE;
        } elseif (str_starts_with($dsn, 'mysql:')) {
            // Values travel apart from the statement, as bytes.
            $options[PDO::ATTR_EMULATE_PREPARES] = false;
        } elseif (str_starts_with($dsn, 'pgsql:')) {
            // One round trip per query, the values still apart from it.
            $options[PDO::PGSQL_ATTR_DISABLE_PREPARES] = true;
        }
        // A web server's worker keeps its connection from one request to the
        // next: no login to a database server, and SQLite neither reads the
        // schema again nor sets up and removes its WAL files each time.
        $options[PDO::ATTR_PERSISTENT] = !$create && (bool)($settings['persistent'] ?? false);
        try {
            $db = new PDO($dsn, $settings['user'] ?? null, $settings['password'] ?? null, $options);
        } catch (\Throwable $e) {
            throw new StoreUnavailable($e->getMessage(), 0, $e);
        }
        return new self($db);
    }

    public function createSchema(): void
    {
        $type = self::BYTE_TYPES[$this->driver] ?? self::BYTE_TYPES['sqlite'];
        if ($this->driver === 'sqlite') {
            // Readers never wait for admin.php, and admin.php never for them.
            $this->db->exec('PRAGMA journal_mode = WAL');
        }
        $this->db->exec("CREATE TABLE IF NOT EXISTS publishers (
            publisher_id {$type['key']} NOT NULL PRIMARY KEY,
            level_code CHAR(2) NOT NULL)");
        $this->db->exec("CREATE TABLE IF NOT EXISTS products (
            product_code {$type['key']} NOT NULL PRIMARY KEY)");
        // product_code NULL: the item is shown to every product of the publisher.
        $this->db->exec("CREATE TABLE IF NOT EXISTS news (
            news_id BIGINT NOT NULL PRIMARY KEY,
            publisher_id {$type['key']} NOT NULL REFERENCES publishers (publisher_id),
            product_code {$type['key']} NULL REFERENCES products (product_code),
            title {$type['title']} NOT NULL,
            news_date {$type['date']} NOT NULL,
            body {$type['body']} NOT NULL)");
        // The admin site's accounts, each of one publisher, its sign-in
        // sessions (the hash of the cookie's value only) and the failed
        // sign-ins per account and per address that slow the next ones.
        $this->db->exec("CREATE TABLE IF NOT EXISTS accounts (
            user_name {$type['key']} NOT NULL PRIMARY KEY,
            publisher_id {$type['key']} NOT NULL REFERENCES publishers (publisher_id),
            password_hash {$type['title']} NOT NULL)");
        $this->db->exec("CREATE TABLE IF NOT EXISTS admin_sessions (
            session_hash {$type['key']} NOT NULL PRIMARY KEY,
            user_name {$type['key']} NOT NULL,
            csrf_token {$type['key']} NOT NULL,
            created_at BIGINT NOT NULL,
            seen_at BIGINT NOT NULL)");
        $this->db->exec("CREATE TABLE IF NOT EXISTS sign_in_attempts (
            subject {$type['key']} NOT NULL PRIMARY KEY,
            attempts INT NOT NULL,
            last_at BIGINT NOT NULL,
            locked_until BIGINT NOT NULL)");
        // Counted failures before attempts were counted; nothing reads them.
        $this->db->exec('DROP TABLE IF EXISTS sign_in_failures');
        // Browsers that signed in before, by the hash of their cookie: each
        // keeps its own allowance of sign-in attempts.
        $this->db->exec("CREATE TABLE IF NOT EXISTS admin_devices (
            device_hash {$type['key']} NOT NULL PRIMARY KEY,
            user_name {$type['key']} NOT NULL,
            created_at BIGINT NOT NULL)");
        // The products a publisher sends news for (besides those its news name).
        $this->db->exec("CREATE TABLE IF NOT EXISTS publisher_products (
            publisher_id {$type['key']} NOT NULL REFERENCES publishers (publisher_id),
            product_code {$type['key']} NOT NULL REFERENCES products (product_code),
            PRIMARY KEY (publisher_id, product_code))");
        // The highest news id ever handed out, in its one row.
        $this->db->exec('CREATE TABLE IF NOT EXISTS news_high_water (
            mark INT NOT NULL PRIMARY KEY,
            last_id BIGINT NOT NULL)');
        $this->db->exec('INSERT INTO news_high_water (mark, last_id) SELECT 1, COALESCE(MAX(news_id), 0) FROM news
            WHERE NOT EXISTS (SELECT mark FROM news_high_water)');
        // Each save of an item counts up its revision, so that a form made
        // from an older one is noticed.
        if (!$this->columnExists('news', 'revision')) {
            $this->db->exec('ALTER TABLE news ADD COLUMN revision BIGINT NOT NULL DEFAULT 0');
        }
        // Both requests read one publisher's items, newest first.
        if (!$this->indexExists('news_by_publisher')) {
            $this->db->exec('CREATE INDEX news_by_publisher ON news (publisher_id, news_id)');
        }
    }

    private function columnExists(string $table, string $column): bool
    {
        try {
            $this->db->query("SELECT $column FROM $table WHERE 1 = 0");
            return true;
        } catch (PDOException) {
            return false;
        }
    }

    private function indexExists(string $name): bool
    {
        $sql = [
            'sqlite' => "SELECT name FROM sqlite_master WHERE type = 'index' AND name = ?",
            'pgsql' => 'SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() AND indexname = ?',
            'mysql' => 'SELECT index_name FROM information_schema.statistics
                WHERE table_schema = DATABASE() AND table_name = \'news\' AND index_name = ?',
        ][$this->driver] ?? null;
        if ($sql === null) {
            throw new StoreUnavailable("unsupported database driver {$this->driver}");
        }
        $st = $this->db->prepare($sql);
        $st->execute([$name]);
        return $st->fetch() !== false;
    }

    /** The publisher's level code, or null when the id is unknown. */
    public function publisherLevel(string $publisherId): ?string
    {
        $row = $this->one('SELECT level_code FROM publishers WHERE publisher_id = ?', [$publisherId]);
        return $row === null ? null : (string)$row['level_code'];
    }

    public function productExists(string $productCode): bool
    {
        return $this->one('SELECT product_code FROM products WHERE product_code = ?', [$productCode]) !== null;
    }

    /**
     * The publisher's level code and whether the product is registered, in
     * one query, as every request asks for both; [null, false] when the
     * publisher is unknown.
     *
     * @return array{0:?string,1:bool}
     */
    public function identity(string $publisherId, string $productCode): array
    {
        $row = $this->one('SELECT p.level_code, r.product_code FROM publishers p
            LEFT JOIN products r ON r.product_code = ? WHERE p.publisher_id = ?', [$productCode, $publisherId]);
        return $row === null ? [null, false] : [(string)$row['level_code'], $row['product_code'] !== null];
    }

    /** @return list<array{news_id:string,title:string,news_date:string}> newest first */
    public function newsFor(string $publisherId, string $productCode): array
    {
        return $this->rows(self::NEWS_OF . ' ORDER BY news_id DESC', [$publisherId, $productCode]);
    }

    /** @return ?array{news_id:string,title:string,news_date:string} the newest item, null when there is none */
    public function newestFor(string $publisherId, string $productCode): ?array
    {
        return $this->one(self::NEWS_OF . ' ORDER BY news_id DESC LIMIT 1', [$publisherId, $productCode]);
    }

    /** The body of one item, or null when it is not one of this publisher's and product's. */
    public function newsBody(string $publisherId, string $productCode, int $newsId): ?string
    {
        $row = $this->one('SELECT body FROM news
            WHERE news_id = ? AND publisher_id = ? AND (product_code = ? OR product_code IS NULL)',
            [$newsId, $publisherId, $productCode]);
        return $row === null ? null : (string)$row['body'];
    }

    public function addPublisher(string $publisherId, string $levelCode): void
    {
        $this->run('INSERT INTO publishers (publisher_id, level_code) VALUES (?, ?)', [$publisherId, $levelCode]);
    }

    public function addProduct(string $productCode): void
    {
        $this->run('INSERT INTO products (product_code) VALUES (?)', [$productCode]);
    }

    /** Lets the publisher send news for the product. */
    public function linkProduct(string $publisherId, string $productCode): void
    {
        $this->run('INSERT INTO publisher_products (publisher_id, product_code) VALUES (?, ?)',
            [$publisherId, $productCode]);
    }

    /**
     * The products a publisher may send news for: those registered for it and those its news name already.
     * @return list<string>
     */
    public function productsOf(string $publisherId): array
    {
        return array_column($this->rows('SELECT product_code FROM publisher_products WHERE publisher_id = ?
            UNION SELECT product_code FROM news WHERE publisher_id = ? AND product_code IS NOT NULL
            ORDER BY product_code', [$publisherId, $publisherId]), 'product_code');
    }

    /**
     * Adds an item and returns its id: $newsId, or without it one above the highest id ever handed out.
     * Parallel adds queue on the high-water mark's row, so each gets an id of its own.
     */
    public function addNews(string $publisherId, ?string $productCode, string $title, string $date,
                            string $body, ?int $newsId = null): int
    {
        return $this->transaction(function () use ($publisherId, $productCode, $title, $date, $body, $newsId): int {
            // The update comes first: it locks the row until the commit.
            $this->run('UPDATE news_high_water SET last_id = CASE WHEN last_id < ? THEN ? ELSE last_id + ? END
                WHERE mark = 1', [$newsId ?? 0, $newsId ?? 0, $newsId === null ? 1 : 0]);
            $newsId ??= (int)$this->one('SELECT last_id FROM news_high_water WHERE mark = 1', [])['last_id'];
            $this->run('INSERT INTO news (news_id, publisher_id, product_code, title, news_date, body)
                VALUES (?, ?, ?, ?, ?, ?)', [$newsId, $publisherId, $productCode, $title, $date, $body]);
            return $newsId;
        });
    }

    public function removeNews(int $newsId): bool
    {
        return $this->run('DELETE FROM news WHERE news_id = ?', [$newsId])->rowCount() > 0;
    }

    /** @return list<array<string,string>> */
    public function all(string $table): array
    {
        $order = ['publishers' => 'publisher_id', 'products' => 'product_code', 'news' => 'news_id'];
        if (!isset($order[$table])) {
            throw new \InvalidArgumentException("no table $table");
        }
        $columns = $table === 'news' ? 'news_id, publisher_id, product_code, title, news_date' : '*';
        return $this->rows("SELECT $columns FROM $table ORDER BY {$order[$table]}", []);
    }

    /** The items a publisher shows a product: its own and those for every product. */
    private const NEWS_OF = 'SELECT news_id, title, news_date FROM news
        WHERE publisher_id = ? AND (product_code = ? OR product_code IS NULL)';

    /** Runs $body in one transaction, rolled back when it throws. */
    public function transaction(callable $body): mixed
    {
        $this->db->beginTransaction();
        try {
            $result = $body($this);
            $this->db->commit();
            return $result;
        } catch (\Throwable $e) {
            $this->db->rollBack();
            throw $e;
        }
    }

    /** One bound statement; strings go over as bytes. */
    public function run(string $sql, array $args): PDOStatement
    {
        $st = $this->db->prepare($sql);
        // PostgreSQL reads a text value as a bytea literal, with escapes;
        // bound as a large object it goes over as the bytes it is.
        $bytes = $this->driver === 'pgsql' ? PDO::PARAM_LOB : PDO::PARAM_STR;
        foreach (array_values($args) as $i => $value) {
            $st->bindValue($i + 1, $value, $value === null ? PDO::PARAM_NULL : (is_int($value) ? PDO::PARAM_INT : $bytes));
        }
        $st->execute();
        return $st;
    }

    /** @return list<array<string,?string>> */
    public function rows(string $sql, array $args): array
    {
        return array_map(self::plain(...), $this->run($sql, $args)->fetchAll());
    }

    public function one(string $sql, array $args): ?array
    {
        $st = $this->run($sql, $args);
        $row = $st->fetch();
        $st->closeCursor();
        return $row === false ? null : self::plain($row);
    }

    /** A row with bytea values (streams on PostgreSQL) read into strings. */
    private static function plain(array $row): array
    {
        return array_map(static fn($v) => is_resource($v) ? stream_get_contents($v) : $v, $row);
    }

    /** Throws when the SQLite file named by the DSN lies under one of the served folders. */
    private static function refuseServedFile(string $file, array $servedFolders): void
    {
        $real = realpath(dirname($file));
        $paths = array_filter([$file, $real === false ? null : "$real/" . basename($file)]);
        foreach (array_filter($servedFolders) as $folder) {
            foreach (array_filter([rtrim($folder, '/'), realpath($folder)]) as $root) {
                foreach ($paths as $path) {
                    if (str_starts_with($path, rtrim($root, '/') . '/')) {
                        throw new StoreUnavailable("the database file $file lies in $folder, which the web "
                            . 'server serves to anybody who asks; move it out of there (see README.md)');
                    }
                }
            }
        }
    }
}

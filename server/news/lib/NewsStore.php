<?php
// The news database: publishers, products and news items, over PDO so that
// the same scripts run on SQLite, MySQL or PostgreSQL. Only portable SQL is
// used; news ids are handed out as the highest id plus one instead of an
// auto-increment column, whose syntax differs between the databases.

declare(strict_types=1);

final class NewsStoreUnavailable extends RuntimeException
{
}

final class NewsStore
{
    /** Level codes as the client sends them in "prodtype". */
    public const LEVELS = ['BM' => 'Master', 'BP' => 'Platinum', 'BG' => 'Gold'];

    private PDO $db;

    private function __construct(PDO $db)
    {
        $this->db = $db;
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
     * become a new, empty one.
     */
    public static function open(bool $create = false, ?array $settings = null): self
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
            if ($create && $file !== ':memory:' && $file !== '') {
                $dir = dirname($file);
                if (!is_dir($dir) && !@mkdir($dir, 0770, true) && !is_dir($dir)) {
                    throw new NewsStoreUnavailable("cannot create the folder $dir");
                }
            }
            // Wait for a moment while admin.php writes instead of failing at once.
            $options[PDO::ATTR_TIMEOUT] = 5;
            $options[PDO::SQLITE_ATTR_OPEN_FLAGS] = $create
                ? (PDO::SQLITE_OPEN_READWRITE | PDO::SQLITE_OPEN_CREATE)
                : PDO::SQLITE_OPEN_READWRITE;
        }
        try {
            $db = new PDO($dsn, $settings['user'] ?? null, $settings['password'] ?? null, $options);
        } catch (Throwable $e) {
            throw new NewsStoreUnavailable($e->getMessage(), 0, $e);
        }
        return new self($db);
    }

    public function createSchema(): void
    {
        $this->db->exec('CREATE TABLE IF NOT EXISTS publishers (
            publisher_id VARCHAR(100) NOT NULL PRIMARY KEY,
            level_code CHAR(2) NOT NULL)');
        $this->db->exec('CREATE TABLE IF NOT EXISTS products (
            product_code VARCHAR(100) NOT NULL PRIMARY KEY)');
        // product_code NULL: the item is shown to every product of the publisher.
        $this->db->exec('CREATE TABLE IF NOT EXISTS news (
            news_id INTEGER NOT NULL PRIMARY KEY,
            publisher_id VARCHAR(100) NOT NULL REFERENCES publishers (publisher_id),
            product_code VARCHAR(100) NULL REFERENCES products (product_code),
            title VARCHAR(255) NOT NULL,
            news_date VARCHAR(100) NOT NULL,
            body TEXT NOT NULL)');
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

    /** @return list<array{news_id:string,title:string,news_date:string}> newest first */
    public function newsFor(string $publisherId, string $productCode): array
    {
        $st = $this->db->prepare('SELECT news_id, title, news_date FROM news
            WHERE publisher_id = ? AND (product_code = ? OR product_code IS NULL)
            ORDER BY news_id DESC');
        $st->execute([$publisherId, $productCode]);
        return $st->fetchAll();
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
        $this->db->prepare('INSERT INTO publishers (publisher_id, level_code) VALUES (?, ?)')
            ->execute([$publisherId, $levelCode]);
    }

    public function addProduct(string $productCode): void
    {
        $this->db->prepare('INSERT INTO products (product_code) VALUES (?)')->execute([$productCode]);
    }

    /** Adds an item and returns its id; $newsId null takes the next free one. */
    public function addNews(string $publisherId, ?string $productCode, string $title, string $date,
                            string $body, ?int $newsId = null): int
    {
        $this->db->beginTransaction();
        try {
            if ($newsId === null) {
                $row = $this->one('SELECT MAX(news_id) AS max_id FROM news', []);
                $newsId = (int)($row['max_id'] ?? 0) + 1;
            }
            $this->db->prepare('INSERT INTO news (news_id, publisher_id, product_code, title, news_date, body)
                VALUES (?, ?, ?, ?, ?, ?)')
                ->execute([$newsId, $publisherId, $productCode, $title, $date, $body]);
            $this->db->commit();
        } catch (Throwable $e) {
            $this->db->rollBack();
            throw $e;
        }
        return $newsId;
    }

    public function removeNews(int $newsId): bool
    {
        $st = $this->db->prepare('DELETE FROM news WHERE news_id = ?');
        $st->execute([$newsId]);
        return $st->rowCount() > 0;
    }

    /** @return list<array<string,string>> */
    public function all(string $table): array
    {
        $order = ['publishers' => 'publisher_id', 'products' => 'product_code', 'news' => 'news_id'];
        if (!isset($order[$table])) {
            throw new InvalidArgumentException("no table $table");
        }
        $columns = $table === 'news' ? 'news_id, publisher_id, product_code, title, news_date' : '*';
        return $this->db->query("SELECT $columns FROM $table ORDER BY {$order[$table]}")->fetchAll();
    }

    private function one(string $sql, array $args): ?array
    {
        $st = $this->db->prepare($sql);
        $st->execute($args);
        $row = $st->fetch();
        $st->closeCursor();
        return $row === false ? null : $row;
    }
}

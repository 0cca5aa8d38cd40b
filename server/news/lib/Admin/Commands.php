<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

use Zolt\News\Rules;
use Zolt\News\Store;

/** What each command of admin.php does (Console::USAGE says it to the user). */
final class Commands
{
    /** Every command: how many arguments it takes, at least and at most. */
    public const ARGUMENTS = [
        'init' => [0, 0], 'add-publisher' => [2, 2], 'add-product' => [1, 2], 'add-news' => [5, 5],
        'remove-news' => [1, 1], 'list' => [0, 0], 'add-account' => [2, 2], 'set-password' => [1, 1],
        'remove-account' => [1, 1],
    ];

    private readonly Rules $rules;
    private readonly Accounts $accounts;

    public function __construct(private readonly Store $store, private readonly CommandLine $line)
    {
        $this->rules = new Rules();
        $this->accounts = new Accounts($store);
    }

    public function run(string $command): void
    {
        match ($command) {
            'init' => $this->init(),
            'add-publisher' => $this->addPublisher(...$this->line->args),
            'add-product' => $this->addProduct(...$this->line->args),
            'add-news' => $this->addNews(...$this->line->args),
            'remove-news' => $this->removeNews(...$this->line->args),
            'list' => $this->list(),
            'add-account' => $this->addAccount(...$this->line->args),
            'set-password' => $this->setPassword(...$this->line->args),
            'remove-account' => $this->removeAccount(...$this->line->args),
        };
    }

    private function init(): void
    {
        $this->store->createSchema();
        echo "Database ready.\n";
    }

    private function addPublisher(string $publisher, string $level): void
    {
        $this->check($this->rules->keyProblem('publisher id', $publisher));
        $this->store->addPublisher($publisher, $this->levelCode($level));
    }

    private function addProduct(string $product, ?string $publisher = null): void
    {
        $this->check($this->rules->keyProblem('product code', $product));
        if ($publisher !== null) {
            $this->requirePublisher($publisher);
        }
        $this->store->transaction(static function (Store $store) use ($product, $publisher): void {
            // A registered product only gets one more publisher.
            if ($publisher === null || !$store->productExists($product)) {
                $store->addProduct($product);
            }
            if ($publisher !== null) {
                $store->linkProduct($publisher, $product);
            }
        });
    }

    private function addNews(string $publisher, string $product, string $title, string $date, string $file): void
    {
        $this->requirePublisher($publisher);
        if ($product !== '*' && !$this->store->productExists($product)) {
            throw new \RuntimeException("no product \"$product\"; add it with add-product");
        }
        $date = $date === '' ? date('Y-m-d') : $date;
        $this->check($this->rules->titleProblem($title));
        $this->check($this->rules->dateProblem($date));
        $body = $file === '-' ? stream_get_contents(STDIN) : @file_get_contents($file);
        if ($body === false) {
            throw new \RuntimeException("cannot read \"$file\"");
        }
        $this->check($this->rules->pageProblem($body));
        echo $this->store->addNews($publisher, $product === '*' ? null : $product, $title, $date, $body,
            $this->line->newsId), "\n";
    }

    private function removeNews(string $id): void
    {
        if (preg_match('/^[0-9]{1,18}$/', $id) !== 1 || !$this->store->removeNews((int)$id)) {
            throw new \RuntimeException("no news item \"$id\"");
        }
    }

    /** Publishers, products, accounts and news; whatever a row holds, the terminal gets nothing it would act on. */
    private function list(): void
    {
        $line = fn(?string ...$fields): string => '  ' . implode('  ', array_map(
            fn(?string $field): string => $this->rules->visible((string)$field), $fields)) . "\n";
        echo "Publishers:\n";
        foreach ($this->store->all('publishers') as $row) {
            echo $line($row['publisher_id'], $row['level_code'] . ' (' . (Store::LEVELS[$row['level_code']] ?? '?')
                . ')');
        }
        echo "Products:\n";
        foreach ($this->store->all('products') as $row) {
            echo $line($row['product_code']);
        }
        echo "Accounts:\n";
        foreach ($this->accounts->accounts() as $row) {
            echo $line($row['user_name'], $row['publisher_id']);
        }
        echo "News:\n";
        foreach ($this->store->all('news') as $row) {
            echo $line($row['news_id'], $row['publisher_id'], $row['product_code'] ?? '*', $row['news_date'],
                $row['title']);
        }
    }

    private function addAccount(string $user, string $publisher): void
    {
        if (preg_match('/^[A-Za-z0-9._@-]{1,64}$/', $user) !== 1) {
            throw new UsageError('an account name is 1 to 64 letters, digits, ".", "_", "@" or "-"');
        }
        $this->requirePublisher($publisher);
        $this->accounts->addAccount($user, $publisher, $this->readPassword());
    }

    private function setPassword(string $user): void
    {
        if ($this->accounts->account($user) === null) {
            throw new \RuntimeException("no account \"$user\"");
        }
        $this->accounts->setPassword($user, $this->readPassword());
    }

    private function removeAccount(string $user): void
    {
        if (!$this->accounts->removeAccount($user)) {
            throw new \RuntimeException("no account \"$user\"");
        }
    }

    private function check(?string $problem): void
    {
        if ($problem !== null) {
            throw new UsageError($problem);
        }
    }

    private function requirePublisher(string $publisher): void
    {
        if ($this->store->publisherLevel($publisher) === null) {
            throw new \RuntimeException("no publisher \"$publisher\"; add it with add-publisher");
        }
    }

    private function levelCode(string $level): string
    {
        if (isset(Store::LEVELS[strtoupper($level)])) {
            return strtoupper($level);
        }
        foreach (Store::LEVELS as $code => $name) {
            if (strcasecmp($name, $level) === 0) {
                return $code;
            }
        }
        throw new UsageError("unknown level \"$level\"; use BM (Master), BP (Platinum) or BG (Gold)");
    }

    /** The password: asked twice without echo on a terminal, else the first line of standard input. */
    private function readPassword(): string
    {
        $terminal = stream_isatty(STDIN);
        if ($terminal) {
            fwrite(STDERR, 'Password: ');
            shell_exec('stty -echo');
        }
        $most = Auth::MAX_PASSWORD_BYTES;
        try {
            // Room for one byte more than fits and the line break, so that a longer password is told, not cut.
            $password = rtrim((string)fgets(STDIN, $most + 3), "\r\n");
            if (strlen($password) > $most) {
                throw new UsageError("a password has at most $most bytes; this one is longer, and none of it was kept");
            }
            if ($terminal) {
                fwrite(STDERR, "\nThe same again: ");
                $again = rtrim((string)fgets(STDIN, $most + 3), "\r\n");
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
        if (strlen($password) < 10) {
            throw new UsageError("a password has 10 to $most bytes; this one has " . strlen($password));
        }
        return $password;
    }
}

<?php
// admin.php: the command line of the news database. Commands carries out
// each command; here the command line is read and every failure becomes one
// line on standard error and the exit status.

declare(strict_types=1);

namespace Zolt\News\Admin;

use PDOException;
use Zolt\News\Store;
use Zolt\News\StoreUnavailable;

final class Console
{
    public const USAGE = <<<'TXT'
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
  add-product PRODUCTCODE [PUBLISHERID]
      Registers a product code (the brander code of a branded copy). With a
      publisher id, the publisher's accounts may write news for it on the
      admin site (they see only their publisher's products); run it again
      with another publisher id to add another publisher to a product.
  add-news [--id=N] PUBLISHERID PRODUCTCODE TITLE DATE HTMLFILE
      Adds a news item of the publisher for the product, or for every
      product when PRODUCTCODE is "*". DATE is shown as written ("" gives
      today's date as YYYY-MM-DD). HTMLFILE is the body, "-" reads it from
      standard input; a body the program would show as plain text (over
      2 MiB, tables nested deeper than 8, elements deeper than 100) is
      refused. Prints the new item's id; without --id it is one more than
      the highest id ever handed out, deleted items included, so newer
      items always have higher ids and no id is used twice.
  remove-news NEWSID
      Deletes a news item.
  add-account USER PUBLISHERID
      Adds an account of the news admin site (admin/) that reads and writes
      the news of this publisher only. The password is asked on the terminal,
      or read as the first line of standard input (never from the command
      line, where other users could see it); 10 to 4096 bytes.
  set-password USER
      Gives the account a new password (read the same way) and signs it out.
  remove-account USER
      Removes the account and signs it out; its news stay.
  list
      Shows publishers, products, accounts and news items; characters that
      a terminal would act on or hide, and bytes that are no UTF-8, are
      written as <U+202E> or <FF>.
  help, --help, -h
      Shows this text.

The database is the one named in config.php; the environment variable
ZOLT_NEWS_DSN (or the option --dsn) overrides it, e.g.
  ZOLT_NEWS_DSN=sqlite:/tmp/demo/news.db php admin.php init

Ids, codes, titles and dates travel unescaped inside the replies, so they
may not hold line breaks or other control characters or "^". Titles and
dates are UTF-8 without invisible characters (direction overrides, zero-
width spaces and the like). Ids, codes and dates may not hold the byte 0xAF,
which is also part of some UTF-8 letters (such as Cyrillic "Я" or Chinese
"是"); titles may: the replies carry those letters as character references.
Exit status: 0 done, 1 failed, 2 wrong usage.
TXT;

    /** The exit status of admin.php for $argv: 0 done, 1 failed, 2 wrong usage. */
    public function run(array $argv): int
    {
        try {
            return $this->dispatch(CommandLine::parse($argv));
        } catch (UsageError $e) {
            fwrite(STDERR, 'admin.php: ' . $e->getMessage() . "\nRun \"php admin.php --help\" for the commands.\n");
            return 2;
        } catch (PDOException $e) {
            $hint = preg_match('/UNIQUE|Duplicate|unique/', $e->getMessage()) === 1 ? ' (it exists already)' : '';
            fwrite(STDERR, 'admin.php: database error' . $hint . ': ' . $e->getMessage() . "\n");
        } catch (StoreUnavailable $e) {
            fwrite(STDERR, 'admin.php: cannot open the database: ' . $e->getMessage()
                . "\nIs the DSN right, and was \"php admin.php init\" run?\n");
        } catch (\Throwable $e) {
            fwrite(STDERR, 'admin.php: ' . $e->getMessage() . "\n");
        }
        return 1;
    }

    private function dispatch(CommandLine $line): int
    {
        if ($line->help) {
            echo self::USAGE, "\n";
            return 0;
        }
        $command = $line->command;
        if ($command === null || !isset(Commands::ARGUMENTS[$command])) {
            throw new UsageError($command === null ? 'no command given' : "unknown command \"$command\"");
        }
        [$least, $most] = Commands::ARGUMENTS[$command];
        if (count($line->args) < $least || count($line->args) > $most) {
            throw new UsageError("$command takes " . ($least === $most ? $least : "$least to $most") . ' argument(s), '
                . count($line->args) . ' given');
        }
        if ($line->newsId !== null && $command !== 'add-news') {
            throw new UsageError('--id belongs to add-news');
        }
        (new Commands(Store::open($command === 'init', $line->settings), $line))->run($command);
        return 0;
    }
}

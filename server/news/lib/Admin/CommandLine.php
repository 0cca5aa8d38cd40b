<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

use Zolt\News\Store;

/** What admin.php's command line asks for: the options taken out, the command and its arguments left. */
final class CommandLine
{
    /** @param list<string> $args */
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
                $settings = Store::settings();
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

<?php
// A small assertion runner: named cases, failures collected with their
// place, and the closing line "N passed, N failed" that ctest logs show.

declare(strict_types=1);

final class TestFailure extends Exception
{
}

final class TestRunner
{
    private int $passed = 0;
    private int $failed = 0;
    private string $current = '';
    private array $problems = [];
    private ?string $only;

    public function __construct()
    {
        $only = getenv('ZOLT_TEST_FILTER');
        $this->only = is_string($only) && $only !== '' ? $only : null;
    }

    /** Runs one case; an assertion failure or any exception fails only this case. */
    public function test(string $name, callable $body): void
    {
        if ($this->only !== null && !str_contains($name, $this->only)) {
            return;
        }
        $this->current = $name;
        $this->problems = [];
        try {
            $body();
        } catch (TestFailure $e) {
            // Already recorded by the assertion that threw it.
        } catch (Throwable $e) {
            $this->problems[] = get_class($e) . ': ' . $e->getMessage() . ' at ' . $e->getFile() . ':' . $e->getLine();
        }
        if ($this->problems === []) {
            $this->passed++;
            echo "ok   $name\n";
        } else {
            $this->failed++;
            echo "FAIL $name\n";
            foreach ($this->problems as $p) {
                echo "     $p\n";
            }
        }
    }

    /** Records a failure and goes on with the case. */
    public function check(bool $condition, string $what): bool
    {
        if (!$condition) {
            $place = '?';
            foreach (debug_backtrace(DEBUG_BACKTRACE_IGNORE_ARGS) as $frame) {
                if (isset($frame['file']) && $frame['file'] !== __FILE__) {
                    $place = basename($frame['file']) . ':' . $frame['line'];
                    break;
                }
            }
            $this->problems[] = "$what ($place)";
        }
        return $condition;
    }

    /** Records a failure and ends the case. */
    public function require(bool $condition, string $what): void
    {
        if (!$this->check($condition, $what)) {
            throw new TestFailure($what);
        }
    }

    public function eq(mixed $expected, mixed $actual, string $what = ''): bool
    {
        return $this->check($expected === $actual,
            ($what !== '' ? "$what: " : '') . 'expected ' . self::show($expected) . ', got ' . self::show($actual));
    }

    public function contains(string $needle, string $haystack, string $what = ''): bool
    {
        return $this->check(str_contains($haystack, $needle),
            ($what !== '' ? "$what: " : '') . self::show($needle) . ' not found in ' . self::show($haystack));
    }

    /** Prints the closing line; returns the process exit code. */
    public function finish(): int
    {
        echo "{$this->passed} passed, {$this->failed} failed\n";
        return $this->failed === 0 && $this->passed > 0 ? 0 : 1;
    }

    private static function show(mixed $value): string
    {
        if (is_array($value)) {
            $parts = [];
            foreach ($value as $k => $v) {
                $parts[] = (is_int($k) ? '' : "$k => ") . self::show($v);
            }
            return '[' . implode(', ', $parts) . ']';
        }
        $text = is_string($value) ? '"' . addcslashes($value, "\0..\37\177..\377\"\\") . '"' : var_export($value, true);
        return strlen($text) > 600 ? substr($text, 0, 600) . '...' : $text;
    }
}

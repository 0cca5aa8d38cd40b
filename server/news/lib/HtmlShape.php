<?php
// How deeply the elements of a page nest and how much layout work it asks,
// measured exactly as the program measures a page before it lays it out (a
// forgiving HTML reading: void elements and "<x/>" open nothing, an end tag
// closes up to its open element, a stray one is ignored, and p, li, td, tr
// and their kin close their open siblings). One pass, linear in the page.

declare(strict_types=1);

namespace Zolt\News;

final class HtmlShape
{
    public const MAX_PAGE_BYTES = 2 * 1024 * 1024;
    public const MAX_TABLE_DEPTH = 8;
    public const MAX_ELEMENT_DEPTH = 100;
    public const MAX_LAYOUT_WORK = self::MAX_PAGE_BYTES;

    /** What an element costs the layout beyond its text, in bytes of text. */
    private const ELEMENT_WORK = 16;
    private const SPACE = " \t\n\r\f";
    private const VOID = ['area', 'base', 'basefont', 'bgsound', 'br', 'col', 'embed', 'frame', 'hr', 'img',
        'input', 'keygen', 'link', 'meta', 'param', 'source', 'track', 'wbr'];
    private const RAW_TEXT = ['script', 'style', 'textarea', 'title', 'xmp', 'noembed', 'noframes'];

    public int $tableDepth = 0;
    public int $elementDepth = 0;
    public int $layoutWork = 0;

    /** @var list<string> */
    private array $open = [];
    /** @var array<string,int> */
    private array $openCount = [];

    public static function measure(string $html): self
    {
        $shape = new self();
        $shape->scan($html);
        return $shape;
    }

    private function scan(string $html): void
    {
        $n = strlen($html);
        $i = 0;
        $textStart = 0;
        while (($lt = strpos($html, '<', $i)) !== false && $lt + 1 < $n) {
            $i = $lt;
            $next = $html[$i + 1];
            $this->text($lt - $textStart);
            if (substr_compare($html, '<!--', $i, 4) === 0) {
                $close = strpos($html, '-->', $i + 4);
                $i = $close === false ? $n : $close + 3;
            } elseif ($next === '!' || $next === '?') {
                $close = strpos($html, '>', $i);
                $i = $close === false ? $n : $close + 1;
            } elseif ($next === '/' && $i + 2 < $n && ctype_alpha($html[$i + 2])) {
                $i += 2;
                $name = $this->readName($html, $i);
                $close = strpos($html, '>', $i);
                $i = $close === false ? $n : $close + 1;
                $this->end($name);
            } elseif (ctype_alpha($next)) {
                $i++;
                $name = $this->readName($html, $i);
                $selfClosing = $this->skipAttributes($html, $i, $n);
                $this->start($name, $selfClosing);
                if (!$selfClosing && in_array($name, self::RAW_TEXT, true)) {
                    $close = stripos($html, "</$name", $i);
                    $stop = $close === false ? $n : $close;
                    if ($name !== 'script' && $name !== 'style') {
                        $this->text($stop - $i);
                    }
                    $i = $stop;
                }
            } else {
                // A "<" that opens nothing is text: counted with what follows.
                $textStart = $lt;
                $i = $lt + 1;
                continue;
            }
            $textStart = $i;
        }
        $this->text($n - $textStart);
    }

    private function readName(string $html, int &$i): string
    {
        $length = strcspn($html, self::SPACE . '>/', $i);
        $name = strtolower(substr($html, $i, $length));
        $i += $length;
        return $name;
    }

    /** Skips the attributes of a start tag; true when it ends in "/>". $i is left after the closing ">". */
    private function skipAttributes(string $html, int &$i, int $n): bool
    {
        $slash = false;
        while ($i < $n) {
            $c = $html[$i];
            if ($c === '>') {
                $i++;
                return $slash;
            }
            $space = str_contains(self::SPACE, $c);
            if ($c === '/' || $space) {
                $slash = $c === '/' || ($slash && $space);
                $i++;
                continue;
            }
            $slash = false;
            $i += strcspn($html, self::SPACE . '>/=', $i);
            $j = $i + strspn($html, self::SPACE, $i);
            if ($j >= $n || $html[$j] !== '=') {
                continue;
            }
            $i = $j + 1;
            $i += strspn($html, self::SPACE, $i);
            if ($i < $n && ($html[$i] === '"' || $html[$i] === "'")) {
                $close = strpos($html, $html[$i], $i + 1);
                $i = $close === false ? $n : $close + 1;
            } else {
                $i += strcspn($html, self::SPACE . '>', $i);
            }
        }
        return false;
    }

    private function text(int $bytes): void
    {
        if ($bytes > 0) {
            $this->work($bytes);
        }
    }

    private function work(int $bytes): void
    {
        $tables = min($this->openCount['table'] ?? 0, 40);
        $this->layoutWork = min($this->layoutWork + ($bytes << $tables), 1 << 62);
    }

    private function start(string $name, bool $selfClosing): void
    {
        $this->work(self::ELEMENT_WORK);
        if ($selfClosing || in_array($name, self::VOID, true)) {
            $this->elementDepth = max($this->elementDepth, count($this->open) + 1);
            return;
        }
        while ($this->open !== [] && self::closesOpen($name, $this->open[count($this->open) - 1])) {
            $this->pop();
        }
        $this->open[] = $name;
        $this->openCount[$name] = ($this->openCount[$name] ?? 0) + 1;
        $this->elementDepth = max($this->elementDepth, count($this->open));
        $this->tableDepth = max($this->tableDepth, $this->openCount['table'] ?? 0);
    }

    private function end(string $name): void
    {
        if (($this->openCount[$name] ?? 0) === 0) {
            return;
        }
        while ($this->open[count($this->open) - 1] !== $name) {
            $this->pop();
        }
        $this->pop();
    }

    private function pop(): void
    {
        $this->openCount[array_pop($this->open)]--;
    }

    /** Whether opening $name ends an open $top whose end tag was left out. */
    private static function closesOpen(string $name, string $top): bool
    {
        return match ($name) {
            'p', 'li', 'option' => $top === $name,
            'dt', 'dd' => $top === 'dt' || $top === 'dd',
            'td', 'th' => $top === 'td' || $top === 'th',
            'tr' => in_array($top, ['td', 'th', 'tr'], true),
            'thead', 'tbody', 'tfoot' => in_array($top, ['td', 'th', 'tr', 'thead', 'tbody', 'tfoot'], true),
            'optgroup' => $top === 'option' || $top === 'optgroup',
            default => false,
        };
    }
}

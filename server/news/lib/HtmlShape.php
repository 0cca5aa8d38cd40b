<?php
// How deeply the elements of a page nest, how much layout work it asks and
// how long its longest run is, measured exactly as the program measures the
// page it writes anew for its view (util/HtmlShape.cpp): the same reading of
// tags, the same nesting rules, the same characters. Both sides read the
// cases in tests/data/htmlshape. One pass, linear in the page.

declare(strict_types=1);

namespace Zolt\News;

final class HtmlShape
{
    public const MAX_PAGE_BYTES = 2 * 1024 * 1024;
    public const MAX_TABLE_DEPTH = 8;
    public const MAX_ELEMENT_DEPTH = 100;
    public const MAX_LAYOUT_WORK = self::MAX_PAGE_BYTES;
    public const MAX_RUN_CHARS = 200;
    public const MAX_COMBINING_MARKS = 30;

    /** What an element costs the layout beyond its text, in characters of text. */
    private const ELEMENT_WORK = 16;
    private const RUN_CHARS_PER_WORK = 100;
    private const ZERO_WIDTH_BREAK = 0x200B;
    private const SPACE = " \t\n\r\f";
    private const VOID = ['area', 'base', 'basefont', 'bgsound', 'br', 'col', 'embed', 'frame', 'hr', 'img',
        'input', 'keygen', 'param', 'source', 'track', 'wbr'];
    private const RAW_TEXT = ['script', 'style', 'textarea', 'title', 'xmp', 'noembed', 'noframes'];
    private const DROPPED_WITH_CONTENT = ['script', 'title'];
    private const DROPPED_TAG = ['head', 'meta', 'link', 'textarea', 'xmp', 'noembed', 'noframes'];
    private const VIEW_BLOCK = ['blockquote', 'body', 'caption', 'center', 'dd', 'div', 'dl', 'dt', 'h1', 'h2',
        'h3', 'h4', 'h5', 'h6', 'hr', 'li', 'ol', 'p', 'pre', 'qt', 'td', 'th', 'ul'];
    private const TABLE_PART = ['tbody', 'thead', 'tfoot', 'tr', 'td', 'th', 'caption'];
    private const ROW_PARENT = ['table', 'thead', 'tbody', 'tfoot'];
    private const JOINING = '/^[\p{Mn}\p{Mc}\p{Me}\x{200C}\x{200D}\x{E0020}-\x{E007F}\x{1F3FB}-\x{1F3FF}'
        . '\x{1100}-\x{11FF}\x{A960}-\x{A97F}\x{D7B0}-\x{D7FF}]$/u';

    public int $tableDepth = 0;
    public int $elementDepth = 0;
    public int $layoutWork = 0;
    public int $longestRun = 0;

    /** @var list<array{0:string,1:int,2:bool,3:bool}> name, nearest block, in pre, outside cells */
    private array $open = [];
    /** @var array<string,int> */
    private array $openCount = [];
    private int $tables = 0;
    private int $run = 0;
    private int $marks = 0;
    private bool $afterTable = false;
    private int $styleSelectors = 0;
    /** @var array<string,bool> */
    private static array $joining = [];
    /** @var array<string,int>|null */
    private static ?array $entities = null;

    public static function measure(string $html): self
    {
        $shape = new self();
        $shape->scan(self::asUtf8($html));
        return $shape;
    }

    /** Whether the program lays $html out as a page rather than showing its plain text. */
    public function withinLimits(int $bytes): bool
    {
        return $bytes <= self::MAX_PAGE_BYTES && $this->tableDepth <= self::MAX_TABLE_DEPTH
            && $this->elementDepth <= self::MAX_ELEMENT_DEPTH && $this->layoutWork <= self::MAX_LAYOUT_WORK;
    }

    /** Valid UTF-8 as it is, anything else read as Windows-1252. */
    private static function asUtf8(string $html): string
    {
        if (preg_match('//u', $html) === 1) {
            return $html;
        }
        static $high = null;
        $high ??= array_combine(
            array_map(fn (int $b) => "\xC2" . chr($b), range(0x80, 0x9F)),
            array_map(fn (int $c) => mb_chr($c, 'UTF-8'), [0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020,
                0x2021, 0x2C6, 0x2030, 0x160, 0x2039, 0x152, 0x8D, 0x17D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C,
                0x201D, 0x2022, 0x2013, 0x2014, 0x2DC, 0x2122, 0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178])
        );
        return strtr(mb_convert_encoding($html, 'UTF-8', 'ISO-8859-1'), $high);
    }

    private function scan(string $html): void
    {
        $n = strlen($html);
        $i = 0;
        $textStart = 0;
        while (($lt = strpos($html, '<', $i)) !== false && $lt + 1 < $n) {
            $i = $lt;
            $next = $html[$i + 1];
            if (substr_compare($html, '<!--', $i, 4) === 0) {
                $this->text(substr($html, $textStart, $lt - $textStart), '');
                $close = strpos($html, '-->', $i + 4);
                $i = $close === false ? $n : $close + 3;
            } elseif ($next === '!' || $next === '?') {
                $this->text(substr($html, $textStart, $lt - $textStart), '');
                $close = strpos($html, '>', $i);
                $i = $close === false ? $n : $close + 1;
            } elseif ($next === '/' && $i + 2 < $n && ctype_alpha($html[$i + 2])) {
                $this->text(substr($html, $textStart, $lt - $textStart), '');
                $i += 2;
                $name = $this->readName($html, $i);
                $close = strpos($html, '>', $i);
                $i = $close === false ? $n : $close + 1;
                $this->end($name);
            } elseif (ctype_alpha($next)) {
                $this->text(substr($html, $textStart, $lt - $textStart), '');
                $i++;
                $name = $this->readName($html, $i);
                $selfClosing = false;
                if (!$this->skipAttributes($html, $i, $n, $selfClosing)) {
                    return; // a tag the page ends in is no tag
                }
                $this->start($name, $selfClosing);
                if (!$selfClosing && in_array($name, self::RAW_TEXT, true)) {
                    $close = stripos($html, "</$name", $i);
                    $stop = $close === false ? $n : $close;
                    $this->text(substr($html, $i, $stop - $i), $name);
                    $i = $stop;
                }
            } else {
                $i = $lt + 1;
                continue;
            }
            $textStart = $i;
        }
        $this->text(substr($html, $textStart), '');
    }

    private function readName(string $html, int &$i): string
    {
        $length = strcspn($html, self::SPACE . '>/', $i);
        $name = strtolower(substr($html, $i, $length));
        $i += $length;
        return $name;
    }

    /** Skips the attributes of a start tag up to its ">"; false when the page ends first. */
    private function skipAttributes(string $html, int &$i, int $n, bool &$selfClosing): bool
    {
        while ($i < $n) {
            $c = $html[$i];
            if ($c === '>') {
                $i++;
                return true;
            }
            $space = str_contains(self::SPACE, $c);
            if ($c === '/' || $space) {
                $selfClosing = $c === '/' || ($selfClosing && $space);
                $i++;
                continue;
            }
            $selfClosing = false;
            $i += strcspn($html, self::SPACE . '>/=', $i);
            $j = $i + strspn($html, self::SPACE, $i);
            if ($j >= $n || $html[$j] !== '=') {
                continue;
            }
            $i = $j + 1;
            $i += strspn($html, self::SPACE, $i);
            if ($i < $n && ($html[$i] === '"' || $html[$i] === "'")) {
                $close = strpos($html, $html[$i], $i + 1);
                if ($close === false) {
                    return false;
                }
                $i = $close + 1;
            } else {
                $i += strcspn($html, self::SPACE . '>', $i);
            }
        }
        return false;
    }

    private function start(string $name, bool $selfClosing): void
    {
        if (preg_match('/^[a-z][a-z0-9._:-]*$/D', $name) !== 1 || in_array($name, self::DROPPED_TAG, true)
            || in_array($name, self::DROPPED_WITH_CONTENT, true)) {
            return;
        }
        while ($this->open !== [] && self::closesOpen($name, $this->top())) {
            $this->pop();
        }
        if (!$this->placeInTheViewsNesting($name)
            || ($this->outsideCells() && !in_array($name, self::TABLE_PART, true))) {
            return;
        }
        if (in_array($name, self::VOID, true)) {
            if ($name === 'img') {
                $this->runCharacter();
                $this->marks = 0;
                $this->afterTable = false;
            }
            if (self::endsRun($name)) {
                $this->endRun();
            }
            $this->elementWork();
            $this->elementDepth = max($this->elementDepth, count($this->open) + 1);
            return;
        }
        $this->push($name);
        if ($selfClosing) {
            $this->pop();
        }
    }

    /** Closes or opens elements so that $name stands where the program's view would put it; false when dropped. */
    private function placeInTheViewsNesting(string $name): bool
    {
        if ($name === 'td' || $name === 'th') {
            if ($this->isOpen('tr')) {
                $this->popUntilTop(['tr']);
                return true;
            }
            if ($this->isOpen('table')) {
                $this->popUntilTop(self::ROW_PARENT);
            } else {
                $this->push('table');
            }
            $this->push('tr');
        } elseif ($name === 'tr') {
            if ($this->isOpen('table')) {
                $this->popUntilTop(self::ROW_PARENT);
            } else {
                $this->push('table');
            }
        } elseif (in_array($name, ['thead', 'tbody', 'tfoot', 'caption'], true)) {
            if (!$this->isOpen('table')) {
                return false;
            }
            $this->popUntilTop(['table']);
        } elseif ($name === 'dd' || $name === 'dt') {
            if (!$this->isOpen('dl')) {
                return false;
            }
            $this->popUntilTop(['dl']);
        } elseif ($name === 'p' && $this->open !== []) {
            $block = $this->open[count($this->open) - 1][1];
            if ($block >= 0 && $this->open[$block][0] === 'p') {
                while (count($this->open) > $block) {
                    $this->pop();
                }
            }
        }
        return true;
    }

    private function end(string $name): void
    {
        if (!$this->isOpen($name)) {
            return;
        }
        while ($this->top() !== $name) {
            $this->pop();
        }
        $this->pop();
    }

    private function push(string $name): void
    {
        if (self::endsRun($name)) {
            $this->endRun();
        }
        $this->elementWork();
        $top = $this->open === [] ? null : $this->open[count($this->open) - 1];
        $pre = $name === 'pre' || ($top !== null && $top[2]);
        $block = in_array($name, self::VIEW_BLOCK, true) ? count($this->open) : ($top === null ? -1 : $top[1]);
        $outside = in_array($name, ['table', 'tbody', 'thead', 'tfoot', 'tr'], true)
            || (!in_array($name, ['td', 'th', 'caption'], true) && $this->outsideCells());
        $this->open[] = [$name, $block, $pre, $outside];
        $this->openCount[$name] = ($this->openCount[$name] ?? 0) + 1;
        if ($name === 'table') {
            $this->tables++;
            $this->afterTable = true;
        }
        $this->elementDepth = max($this->elementDepth, count($this->open));
        $this->tableDepth = max($this->tableDepth, $this->tables);
    }

    private function pop(): void
    {
        $name = array_pop($this->open)[0];
        $this->openCount[$name]--;
        if ($name === 'table') {
            $this->tables--;
            $this->afterTable = true;
        }
    }

    /** @param list<string> $names */
    private function popUntilTop(array $names): void
    {
        while ($this->open !== [] && !in_array($this->top(), $names, true)) {
            $this->pop();
        }
    }

    private function top(): string
    {
        return $this->open[count($this->open) - 1][0];
    }

    private function isOpen(string $name): bool
    {
        return ($this->openCount[$name] ?? 0) > 0;
    }

    private function outsideCells(): bool
    {
        return $this->open !== [] && $this->open[count($this->open) - 1][3];
    }

    private function text(string $text, string $rawIn): void
    {
        if ($text === '' && $rawIn !== 'style') {
            return;
        }
        if (in_array($rawIn, self::DROPPED_WITH_CONTENT, true)) {
            return;
        }
        if ($rawIn === 'style') {
            if ($this->open !== [] && $this->top() === 'style') {
                $this->styleSelectors += substr_count($text, '{') + substr_count($text, ',');
                $this->pop();
            }
            return;
        }
        $decode = $rawIn === '';
        $n = strlen($text);
        for ($i = 0; $i < $n;) {
            $byte = ord($text[$i]);
            if ($byte === 0x26 && $decode && ($length = self::reference($text, $i, $n, $code)) > 0) {
                $i += $length;
                $this->character($code, mb_chr($code, 'UTF-8'));
                continue;
            }
            $length = $byte < 0x80 ? 1 : ($byte < 0xE0 ? 2 : ($byte < 0xF0 ? 3 : 4));
            $char = substr($text, $i, $length);
            $i += $length;
            $this->character($length === 1 ? $byte : mb_ord($char, 'UTF-8'), $char);
        }
    }

    private function character(int $code, string $char): void
    {
        if ($this->outsideCells()) {
            return;
        }
        if ($code === 0x0D && $this->open !== [] && $this->open[count($this->open) - 1][2]) {
            $this->work(1); // preformatted text loses it: no break there
            return;
        }
        $blank = $code < 0x80 && $code !== 0 && str_contains(self::SPACE, $char);
        if ($blank && $this->afterTable) {
            $this->work(1);
        } elseif ($blank || $code === self::ZERO_WIDTH_BREAK) {
            $this->endRun();
            $this->work(1);
            $this->afterTable = false;
        } else {
            $joining = $code >= 0x300
                && (self::$joining[$char] ??= preg_match(self::JOINING, $char) === 1);
            if ($joining && $this->marks >= self::MAX_COMBINING_MARKS) {
                return;
            }
            $this->runCharacter();
            $this->marks = $joining ? $this->marks + 1 : 0;
            $this->afterTable = false;
        }
    }

    private function runCharacter(): void
    {
        if ($this->run === self::MAX_RUN_CHARS) {
            $this->endRun(); // the program breaks the run here with a zero-width break
            $this->work(1);
        }
        $this->work(1 + intdiv($this->run % self::MAX_RUN_CHARS, self::RUN_CHARS_PER_WORK));
        $this->run++;
        $this->longestRun = max($this->longestRun, $this->run);
    }

    private function endRun(): void
    {
        $this->run = 0;
        $this->marks = 0;
    }

    /** An element's own work and its and its ancestors' matching against the style sheets before it. */
    private function elementWork(): void
    {
        $this->work(self::ELEMENT_WORK);
        $matching = min($this->styleSelectors, 1 << 40) * (count($this->open) + 1);
        $this->layoutWork = min($this->layoutWork + $matching, 1 << 62);
    }

    private function work(int $units): void
    {
        $this->layoutWork = min($this->layoutWork + ($units << min($this->tables, 40)), 1 << 62);
    }

    /** The length of the character reference at $text[$i] ("&"), 0 when there is none; its code in $code. */
    private static function reference(string $text, int $i, int $n, ?int &$code): int
    {
        $j = $i + 1;
        if ($j < $n && $text[$j] === '#') {
            $hex = $j + 1 < $n && ($text[$j + 1] === 'x' || $text[$j + 1] === 'X');
            $j += $hex ? 2 : 1;
            $length = strspn($text, $hex ? '0123456789abcdefABCDEF' : '0123456789', $j);
            if ($length === 0 || $j + $length >= $n || $text[$j + $length] !== ';') {
                return 0;
            }
            $digits = ltrim(substr($text, $j, $length), '0');
            $value = strlen($digits) > 8 ? 0x110000 : min($hex ? (int)hexdec($digits ?: '0') : (int)$digits, 0x110000);
            if ($value >= 0x80 && $value <= 0x9F) {
                $value = mb_ord(self::asUtf8(chr($value)), 'UTF-8');
            }
            $code = $value === 0 || $value > 0x10FFFF || ($value >= 0xD800 && $value <= 0xDFFF) ? 0xFFFD : $value;
            return $j + $length + 1 - $i;
        }
        $length = strspn($text, 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789', $j, 9);
        if ($length > 8 || $j + $length >= $n || $text[$j + $length] !== ';') {
            return 0;
        }
        $code = self::entities()[substr($text, $j, $length)] ?? 0;
        return $code === 0 ? 0 : $length + 2;
    }

    /** @return array<string,int> the named references of HTML 4 and &apos; */
    private static function entities(): array
    {
        if (self::$entities === null) {
            self::$entities = ['apos' => 0x27];
            foreach (get_html_translation_table(HTML_ENTITIES, ENT_QUOTES | ENT_HTML401, 'UTF-8') as $char => $entity) {
                if (preg_match('/^&([A-Za-z0-9]+);$/D', $entity, $m) === 1) {
                    self::$entities[$m[1]] = mb_ord((string)$char, 'UTF-8');
                }
            }
        }
        return self::$entities;
    }

    private static function endsRun(string $name): bool
    {
        return $name === 'br' || in_array($name, self::VIEW_BLOCK, true);
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

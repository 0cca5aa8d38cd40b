<?php
// What a news item may hold, for admin.php and the admin site alike: titles
// and dates travel unescaped inside the replies, and a body beyond the
// program's page limits would be shown as plain text.

declare(strict_types=1);

require_once __DIR__ . '/HtmlShape.php';

final class NewsRules
{
    public const MAX_TITLE_BYTES = 255;
    public const MAX_DATE_BYTES = 100;
    public const MAX_KEY_BYTES = 100;

    /**
     * Why $value cannot be a $what of at most $maxBytes bytes, as a sentence
     * that says where; null when it can.
     */
    public static function textProblem(string $what, string $value, int $maxBytes): ?string
    {
        if (preg_match('/[\x00-\x1F\x7F\xAF^]/', $value, $m, PREG_OFFSET_CAPTURE) === 1) {
            [$char, $offset] = $m[0];
            $name = match (true) {
                $char === '^' => '"^"',
                $char === "\xAF" => 'the byte 0xAF (part of some letters, such as Cyrillic capital Ya)',
                $char === "\n" || $char === "\r" => 'a line break',
                default => sprintf('the control character 0x%02X', ord($char)),
            };
            // Counted in characters where the text is UTF-8, as a person counts.
            $before = substr($value, 0, $offset);
            $position = (preg_match('//u', $before) === 1 ? mb_strlen($before, 'UTF-8') : $offset) + 1;
            return "The $what holds $name at character $position, which it may not: the news replies carry "
                . "the $what as it is, and the program would read it as the end of a field or a line.";
        }
        if (strlen($value) > $maxBytes) {
            return "The $what is " . strlen($value) . " bytes long; at most $maxBytes fit.";
        }
        return null;
    }

    /** Why the program would not lay out $html as a page; null when it would. */
    public static function pageProblem(string $html): ?string
    {
        $plain = ' The program would show it as plain text.';
        if (strlen($html) > HtmlShape::MAX_PAGE_BYTES) {
            return 'The body is ' . strlen($html) . ' bytes long, more than 2 MiB (' . HtmlShape::MAX_PAGE_BYTES
                . ' bytes).' . $plain;
        }
        $shape = HtmlShape::measure($html);
        if ($shape->tableDepth > HtmlShape::MAX_TABLE_DEPTH) {
            return "The body nests tables {$shape->tableDepth} deep, more than " . HtmlShape::MAX_TABLE_DEPTH
                . '.' . $plain;
        }
        if ($shape->elementDepth > HtmlShape::MAX_ELEMENT_DEPTH) {
            return "The body nests elements {$shape->elementDepth} deep, more than "
                . HtmlShape::MAX_ELEMENT_DEPTH . " (an element left open, such as <div> without </div>, counts"
                . ' until the end).' . $plain;
        }
        if ($shape->layoutWork > HtmlShape::MAX_LAYOUT_WORK) {
            return 'The body holds too much inside nested tables for the program to lay it out in time.' . $plain;
        }
        return null;
    }
}

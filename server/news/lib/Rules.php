<?php
// What a news item may hold, for admin.php and the admin site alike: titles
// and dates travel unescaped inside the replies, and a body beyond the
// program's page limits would be shown as plain text.

declare(strict_types=1);

namespace Zolt\News;

final class Rules
{
    public const MAX_TITLE_BYTES = 255;
    public const MAX_DATE_BYTES = 100;
    public const MAX_KEY_BYTES = 100;

    /** One well-formed UTF-8 character; a possessive run of them is matched in one linear pass. */
    private const UTF8_CHAR = '(?:[\x00-\x7F]|[\xC2-\xDF][\x80-\xBF]|\xE0[\xA0-\xBF][\x80-\xBF]'
        . '|[\xE1-\xEC\xEE\xEF][\x80-\xBF]{2}|\xED[\x80-\x9F][\x80-\xBF]|\xF0[\x90-\xBF][\x80-\xBF]{2}'
        . '|[\xF1-\xF3][\x80-\xBF]{3}|\xF4[\x80-\x8F][\x80-\xBF]{2})';

    /**
     * What a text shown on one line may not hold (with /u): controls, invisible formatting (direction
     * overrides and isolates, zero-width spaces, byte order marks), line and paragraph separators. The
     * zero-width non-joiner and joiner stay: Persian and the Indic scripts are written with them.
     */
    public const INVISIBLE = '(?![\x{200C}\x{200D}])[\p{Cc}\p{Cf}\p{Zl}\p{Zp}]';

    /** How many bytes of $text from $offset on are well-formed UTF-8. */
    public function utf8Run(string $text, int $offset = 0): int
    {
        preg_match('/\G' . self::UTF8_CHAR . '*+/', $text, $m, 0, $offset);
        return strlen($m[0]);
    }

    /**
     * Why $value cannot be a $what of at most $maxBytes bytes, as a sentence that says where; null when it
     * can. Text ($text: titles and dates) is UTF-8 without invisible characters; ids and codes are bytes,
     * compared as they are. Only a title may hold the letters whose UTF-8 holds the byte 0xAF (such as
     * Cyrillic "Я", Chinese "是" or Persian "گ"): the replies carry them as character references.
     */
    public function textProblem(string $what, string $value, int $maxBytes, bool $text = false,
                                       bool $title = false): ?string
    {
        $utf8 = $this->utf8Run($value) === strlen($value);
        if ($text && !$utf8) {
            $valid = substr($value, 0, $this->utf8Run($value));
            return "The $what is not UTF-8 text from character " . (mb_strlen($valid, 'UTF-8') + 1)
                . ' on; write it in UTF-8.';
        }
        $found = [];
        if ($text && preg_match('/' . self::INVISIBLE . '|\^/u', $value, $m, PREG_OFFSET_CAPTURE) === 1) {
            $found[] = $m[0];
        }
        if (!$text && preg_match('/[\x00-\x1F\x7F^]/', $value, $m, PREG_OFFSET_CAPTURE) === 1) {
            $found[] = $m[0];
        }
        if (!$title && ($at = strpos($value, "\xAF")) !== false) {
            // The character that holds the byte starts at its lead byte.
            while ($utf8 && $at > 0 && (ord($value[$at]) & 0xC0) === 0x80) {
                $at--;
            }
            $found[] = [$utf8 ? mb_substr(substr($value, $at), 0, 1, 'UTF-8') : "\xAF", $at];
        }
        if ($found !== []) {
            usort($found, static fn(array $a, array $b): int => $a[1] <=> $b[1]);
            [$char, $offset] = $found[0];
            $where = $utf8 ? 'character ' . (mb_strlen(substr($value, 0, $offset), 'UTF-8') + 1)
                : 'byte ' . ($offset + 1);
            $breaks = 'the news replies carry the ' . $what . ' as it is, and the program would read it as the '
                . 'end of a field or a line.';
            [$name, $why] = match (true) {
                $char === '^' => ['"^"', $breaks],
                $char === "\n" || $char === "\r" => ['a line break', $breaks],
                str_contains($char, "\xAF") => [strlen($char) > 1 ? sprintf('"%s" (U+%04X), whose UTF-8 holds the '
                    . 'byte 0xAF,', $char, mb_ord($char, 'UTF-8')) : 'the byte 0xAF', $breaks],
                strlen($char) === 1 => [sprintf('the control character 0x%02X', ord($char)), $breaks],
                default => [sprintf('the invisible character U+%04X', mb_ord($char, 'UTF-8')), 'it would hide, '
                    . 'break or reorder the text around it where the ' . $what . ' is shown.'],
            };
            return "The $what holds $name at $where, which it may not: $why";
        }
        if (strlen($value) > $maxBytes) {
            return "The $what is " . strlen($value) . " bytes long; at most $maxBytes fit.";
        }
        return null;
    }

    /** An id or code: not empty, not "*", no blanks at its ends, and what a record field may hold. */
    public function keyProblem(string $what, string $value): ?string
    {
        if ($value === '' || $value === '*' || trim($value) !== $value) {
            return "The $what may not be empty, \"*\" or begin or end with blanks.";
        }
        return $this->textProblem($what, $value, self::MAX_KEY_BYTES);
    }

    /** A title or date: UTF-8, without invisible characters; a title may hold any letter. */
    public function titleProblem(string $title): ?string
    {
        return $title === '' ? 'A message needs a title.'
            : $this->textProblem('title', $title, self::MAX_TITLE_BYTES, true, true);
    }

    public function dateProblem(string $date): ?string
    {
        return $this->textProblem('date', $date, self::MAX_DATE_BYTES, true);
    }

    /**
     * $text for a terminal: invisible characters (controls included) and bytes that are not UTF-8 written
     * as visible escapes, so that nothing stored can move the cursor, recolour or reorder the screen.
     */
    public function visible(string $text): string
    {
        $out = '';
        for ($at = 0, $n = strlen($text); $at < $n; $at += $valid + 1) {
            $valid = $this->utf8Run($text, $at);
            $out .= preg_replace_callback('/' . self::INVISIBLE . '/u',
                static fn(array $m): string => sprintf('<U+%04X>', mb_ord($m[0], 'UTF-8')), substr($text, $at, $valid));
            if ($at + $valid < $n) {
                $out .= sprintf('<%02X>', ord($text[$at + $valid]));
            }
        }
        return $out;
    }

    /** Why the program would not lay out $html as a page; null when it would. */
    public function pageProblem(string $html): ?string
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

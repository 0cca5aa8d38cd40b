<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/** Stored bytes as the pages show them. */
final class Html
{
    /** @var ?array<string,string> Windows-1252 bytes 0x80 to 0xFF as UTF-8 */
    private static ?array $cp1252 = null;

    /** Text for an element's content or a quoted attribute value; bytes that are no UTF-8 as text() reads them. */
    public function escape(?string $text): string
    {
        return htmlspecialchars($this->text((string)$text), ENT_QUOTES | ENT_HTML5, 'UTF-8');
    }

    /**
     * Stored bytes as the program reads them: UTF-8 when they are, else Windows-1252 (its five unused
     * codes as the C1 controls of the same number, as Windows reads them).
     */
    public function text(string $bytes): string
    {
        if (preg_match('//u', $bytes) === 1) {
            return $bytes;
        }
        if (self::$cp1252 === null) {
            for ($byte = 0x80; $byte <= 0xFF; $byte++) {
                $char = mb_convert_encoding(chr($byte), 'UTF-8', 'Windows-1252');
                self::$cp1252[chr($byte)] = $char === '?' ? mb_chr($byte, 'UTF-8') : $char;
            }
        }
        return strtr($bytes, self::$cp1252);
    }
}

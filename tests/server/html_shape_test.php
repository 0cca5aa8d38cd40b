<?php
// The admin site's page rule against the cases the program's check reads
// too (tests/data/htmlshape/README.md): every body must measure and be taken
// or refused exactly as the program takes or refuses it.

declare(strict_types=1);

require __DIR__ . '/support/TestRunner.php';
require __DIR__ . '/../../server/news/lib/HtmlShape.php';

use Zolt\News\HtmlShape;

/** "{{N*TEXT}}" written out, innermost first. */
function expand(string $text): string
{
    while (($close = strpos($text, '}}')) !== false) {
        $open = strrpos(substr($text, 0, $close), '{{');
        $star = strpos($text, '*', $open);
        $piece = substr($text, $star + 1, $close - $star - 1);
        $text = substr_replace($text, str_repeat($piece, (int)substr($text, $open + 2, $star - $open - 2)),
            $open, $close + 2 - $open);
    }
    return $text;
}

$t = new TestRunner();
$t->test('every case of the page rule measures as in the program', function () use ($t) {
    $cases = glob(__DIR__ . '/../data/htmlshape/*.expect');
    $t->require(count($cases) > 40, 'the shared cases are there');
    foreach ($cases as $file) {
        $name = basename($file, '.expect');
        $html = expand(file_get_contents(substr($file, 0, -7) . '.html'));
        $shape = HtmlShape::measure($html);
        $got = ['tables' => $shape->tableDepth, 'elements' => $shape->elementDepth, 'work' => $shape->layoutWork,
            'run' => $shape->longestRun, 'safe' => $shape->withinLimits(strlen($html)) ? 'yes' : 'no'];
        foreach (file($file, FILE_IGNORE_NEW_LINES) as $line) {
            [$key, $value] = explode(': ', $line, 2) + [1 => ''];
            if (array_key_exists($key, $got)) {
                $t->eq($value, (string)$got[$key], "$name: $key");
            }
        }
    }
});
exit($t->finish());

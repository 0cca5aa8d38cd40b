<?php
// `php -l` over every PHP file of the server side and of these tests, so a
// syntax error in a file that no other test loads is still caught.

declare(strict_types=1);

require __DIR__ . '/support/TestRunner.php';
require __DIR__ . '/support/Fixtures.php';

$t = new TestRunner();
$roots = array_slice($argv, 1) ?: [__DIR__ . '/../../server', __DIR__];
$files = [];
foreach ($roots as $root) {
    $it = new RecursiveIteratorIterator(new RecursiveDirectoryIterator($root, FilesystemIterator::SKIP_DOTS));
    foreach ($it as $file) {
        if ($file->isFile() && $file->getExtension() === 'php') {
            $files[] = $file->getPathname();
        }
    }
}
sort($files);
$t->test('there are PHP files to check', fn() => $t->check(count($files) > 3, 'found ' . count($files)));
foreach ($files as $file) {
    $t->test('php -l ' . basename(dirname($file)) . '/' . basename($file), function () use ($t, $file) {
        [$rc, $out, $err] = run_php(['-l', $file]);
        $t->eq(0, $rc, trim($out . $err));
    });
}
exit($t->finish());

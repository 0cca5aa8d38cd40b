<?php
// The admin site's "preview" page; lib/Admin/Site.php answers it.
declare(strict_types=1);
require __DIR__ . '/../lib/autoload.php';
Zolt\News\Admin\Site::run('preview');

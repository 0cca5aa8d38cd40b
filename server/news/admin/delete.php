<?php
// The admin site's "delete" page; what it does is in lib/AdminSite.php.
declare(strict_types=1);
require __DIR__ . '/../lib/AdminSite.php';
admin_site('delete');

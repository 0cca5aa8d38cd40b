<?php
// Settings of feedreader.php. Copy this file to "feedreader-config.php" beside
// feedreader.php and fill in what you need; every entry may be left out.
//
// With eBay API keys (a production keyset of the eBay developer program:
// App ID as client id, Cert ID as client secret) getebayfeed() lists items
// with pictures and prices; without them it shows tracked search links.
// Keep this file unreadable for visitors: as a .php file it prints nothing.

return [
    'ebay_client_id' => '',
    'ebay_client_secret' => '',

    // Seconds to wait for a feed or for eBay before giving up (default 10).
    'timeout' => 10,

    // Folder for cached feeds and the eBay token; empty: "feedreader-cache"
    // beside feedreader.php (the system's temporary folder when that cannot
    // be written).
    'cache_dir' => '',

    // Largest feed or eBay answer read, in bytes (default 4 MiB).
    'max_bytes' => 4194304,

    // A proxy for every request, e.g. 'http://proxy.example.com:3128', where
    // the web host allows no direct connection out. A proxy set in PHP's
    // environment (http_proxy, ALL_PROXY, ...) is not used: the library
    // checks where each redirect leads, which it can only do for a proxy it
    // knows of. Empty: no proxy.
    'proxy' => '',

    // Service addresses; change them only to use eBay's sandbox or a stand-in.
    'ebay_token_url' => 'https://api.ebay.com/identity/v1/oauth2/token',
    'ebay_browse_url' => 'https://api.ebay.com/buy/browse/v1',
    'google_news_search_url' => 'https://news.google.com/rss/search',
    'yahoo_news_search_url' => 'https://news.search.yahoo.com/rss',
];

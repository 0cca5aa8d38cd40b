<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/**
 * One page of the admin site: it returns its reply. What refuses a request on the way throws HttpFailure,
 * and Site turns that (and anything else thrown) into a reply through ErrorHandler.
 */
interface Action
{
    /**
     * @param ?array{user_name:string,publisher_id:string,csrf_token:string} $account the signed-in account;
     *        null only for the sign-in page
     */
    public function handle(Request $request, ?array $account): Reply;
}

<?php

declare(strict_types=1);

namespace Zolt\News\Admin;

/**
 * What an edit form says it was made from: the item's revision and a fingerprint of each field, so that a
 * form made before someone else saved or deleted the message is refused with what changed.
 */
final class Versions
{
    /** The version of $item, '' for none (a new message). */
    public function of(?array $item): string
    {
        return $item === null ? '' : $item['revision'] . ':' . implode(':', array_map(
            static fn(string $value): string => substr(hash('sha256', $value), 0, 16), $this->fields($item)));
    }

    /** Why a form made from version $sent of message $id was not saved: what changed, or that it is gone. */
    public function staleSentence(int $id, string $sent, ?array $now): string
    {
        if ($now === null) {
            return "Message $id was deleted after you opened it, so nothing was saved. Your text is in the form:"
                . ' publish it as a new message if it is still needed.';
        }
        $was = explode(':', $sent);
        $is = explode(':', $this->of($now));
        $changed = [];
        foreach (array_keys($this->fields($now)) as $i => $field) {
            if (($was[$i + 1] ?? '') !== $is[$i + 1]) {
                $changed[] = $field;
            }
        }
        $what = $changed === [] || count($was) !== count($is) ? 'it was saved again'
            : 'its ' . preg_replace('/, ([a-z]+)$/', ' and $1', implode(', ', $changed)) . ' changed';
        return "Someone else saved message $id after you opened it ($what), so nothing of yours was saved. Your"
            . ' version is in the form: save it again to replace theirs, or open the message anew to see theirs.';
    }

    /** The fields of an item that an edit can change, as the form names them to the user. */
    private function fields(array $item): array
    {
        return ['title' => $item['title'], 'date' => $item['news_date'], 'product' => $item['product_code'] ?? '*',
            'text' => $item['body']];
    }
}

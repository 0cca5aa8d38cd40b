#pragma once

#include <string>
#include <vector>

namespace zolt {

// How a preview ended, or that it is still running.
enum class PreviewResult {
    Running,
    Page,         // PHP printed the page
    Error,        // PHP ended with an error
    Nothing,      // PHP printed nothing
    NoPhp,        // no php on PATH, or it did not start
    NoExtension,  // php lacks an extension that the library needs
    TimedOut,
    Cancelled,
    NoLibrary,  // the program's copy of feedreader.php is missing
    NoSite,     // the temporary site could not be written
};

struct PreviewOutcome {
    PreviewResult result = PreviewResult::Running;
    // One sentence for the user; empty for a page.
    std::string sentence;
    // What PHP printed, for a page.
    std::string page;
    // What PHP wrote to its error stream, shown below the sentence.
    std::string errors;
};

// The extensions that the library needs and the `php -m` list lacks, by
// their module names, in a fixed order; none when all are there.
std::vector<std::string> MissingPhpExtensions(const std::string& moduleList);

// The outcome for a result that needs no more than its sentence (a time-out
// names `timeLimitMs`); `missing` names the extensions for NoExtension.
PreviewOutcome PreviewMessage(PreviewResult result, int timeLimitMs = 0,
                              const std::vector<std::string>& missing = {});

// What the page's run of PHP came to: a page when it ended normally with
// exit code 0 and printed more than blanks, else an error or nothing, with
// what it wrote to its error stream.
PreviewOutcome PageOutcome(bool exitedNormally, int exitCode, const std::string& out,
                           const std::string& err);

// The whole document for the preview window: the page, or the sentence with
// the error stream below it, under a small style sheet of a plain web page.
std::string PreviewDocument(const PreviewOutcome& outcome);

}  // namespace zolt

#pragma once

#include <string>

namespace zolt {

// A news title as the server sends it, made the text the list and the
// balloon show. The news replies cut records at the byte 0xAF, so the
// server sends each letter whose UTF-8 holds that byte (Russian "Я",
// Chinese "是", Persian "گ" and many more) as a decimal character reference
// ("&#1071;"), and the "&" of a title's text that would read as one as
// "&#38;"; exactly these are turned back, and only in a title that is
// UTF-8. The result is NewsLineText's.
std::string NewsTitleText(const std::string& wire);

// A title or date as UTF-8 text fit for one line: bytes that are not UTF-8
// read as Windows-1252 (as the rest of the program reads them), controls
// and line or paragraph separators made blanks, invisible formatting
// (direction overrides and isolates, zero-width spaces, byte order marks)
// removed, so that no title can reorder or hide what is shown around it.
// The zero-width non-joiner and joiner stay: Persian and the Indic scripts
// are written with them.
std::string NewsLineText(const std::string& bytes);

}  // namespace zolt

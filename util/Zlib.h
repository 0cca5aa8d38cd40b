#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace zolt {

// A zlib stream of `data` (the format of skins stored in compressed form).
std::string ZlibCompress(const std::string& data);
// A gzip file of `data` (Debian's compressed manual pages and changelogs),
// without file name or time stamp, so that the same data gives the same file.
std::string GzipCompress(const std::string& data);
// The bytes of a zlib stream; nothing when the stream is damaged or when it
// would inflate to more than `maxSize` bytes.
std::optional<std::string> ZlibDecompress(const std::string& stream,
                                          std::size_t maxSize = 64 * 1024 * 1024);

}  // namespace zolt

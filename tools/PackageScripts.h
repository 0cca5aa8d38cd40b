#pragma once

#include <string>

namespace zolt {

// The apt sources entry that a brand's package adds for its repository,
// and the scripts that add and remove it.

// Whether `url` may be written into a sources entry and a script: an http
// or https address of letters, digits and the plain punctuation of paths,
// no query, no blank.
bool IsRepositoryAddress(const std::string& url);

// The keyring file that the entry's Signed-By names.
std::string RepositoryKeyring(const std::string& packageName);

// /etc/apt/sources.list.d/NAME.sources in deb822 form: suite "stable",
// component "main", signed by the package's own keyring.
std::string SourcesEntryText(const std::string& packageName, const std::string& url);

// DEBIAN/postinst: writes the entry at configure unless there is one, so
// that an administrator's changes stay; under $DPKG_ROOT when dpkg sets it.
std::string PostinstText(const std::string& packageName, const std::string& url);
// DEBIAN/postrm: removes the entry with the package, whose keyring it names.
std::string PostrmText(const std::string& packageName);

}  // namespace zolt

#include "tools/PackageScripts.h"

#include <QRegularExpression>

#include "util/Text.h"

namespace zolt {

namespace {

std::string SourcesVariable(const std::string& packageName) {
    return "sources=\"$DPKG_ROOT/etc/apt/sources.list.d/" + packageName + ".sources\"\n";
}

}  // namespace

bool IsRepositoryAddress(const std::string& url) {
    static const QRegularExpression pattern(
        "^https?://[A-Za-z0-9.-]+(:[0-9]{1,5})?(/[A-Za-z0-9._~%+/-]*)?$");
    return pattern.match(PathToQString(url)).hasMatch();
}

std::string RepositoryKeyring(const std::string& packageName) {
    return "/usr/share/keyrings/" + packageName + "-archive-keyring.gpg";
}

std::string SourcesEntryText(const std::string& packageName, const std::string& url) {
    return "Types: deb\nURIs: " + url +
           "\nSuites: stable\nComponents: main\nSigned-By: " + RepositoryKeyring(packageName) +
           "\n";
}

std::string PostinstText(const std::string& packageName, const std::string& url) {
    // The quoted here-document delimiter: the shell expands nothing in it.
    return "#!/bin/sh\nset -e\n" + SourcesVariable(packageName) +
           "if [ \"$1\" = configure ] && [ ! -e \"$sources\" ] && [ ! -L \"$sources\" ]; then\n"
           "\tmkdir -p \"${sources%/*}\"\n"
           "\trm -f \"$sources.new\"\n"
           "\tcat >\"$sources.new\" <<'END-OF-ENTRY'\n" +
           SourcesEntryText(packageName, url) +
           "END-OF-ENTRY\n"
           "\tmv \"$sources.new\" \"$sources\"\nfi\n";
}

std::string PostrmText(const std::string& packageName) {
    return "#!/bin/sh\nset -e\n" + SourcesVariable(packageName) +
           "if [ \"$1\" = remove ] || [ \"$1\" = purge ]; then\n\trm -f \"$sources\"\nfi\n";
}

}  // namespace zolt

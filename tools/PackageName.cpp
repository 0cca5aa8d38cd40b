#include "tools/PackageName.h"

#include <QStandardPaths>
#include <QStringList>

#include "tools/PackageText.h"
#include "tools/ToolProcess.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr char kBaseName[] = "rssfeedzolt";

// The standard output of `program` with `args`; nothing when the program is
// missing or fails, which for these questions means "not known".
std::optional<QString> Output(const char* program, const QStringList& args) {
    const Result<QByteArray> output = RunTool({program, "the Debian package apt or dpkg"}, args);
    return output.ok() ? std::optional<QString>(QString::fromUtf8(*output)) : std::nullopt;
}

// The command of that name, in the caller's PATH or in a folder of the
// system's commands, which a root shell or a package script has in its
// PATH whatever the caller's says.
QString CommandNamed(const QString& name) {
    const QString onPath = QStandardPaths::findExecutable(name);
    return !onPath.isEmpty()
               ? onPath
               : QStandardPaths::findExecutable(name, {"/usr/local/sbin", "/usr/local/bin",
                                                       "/usr/sbin", "/usr/bin", "/sbin", "/bin"});
}

// What on this machine already has the name `name`, in words; empty when
// nothing does. A package of that name would replace the system's own (a
// brand named "Bash" would install as a downgrade of the shell) and its
// command would take the place of another.
Result<std::string> NameTakenBy(const QString& name) {
    const QStringList ours = {"/usr/lib/" + name + "/" + name,
                              "/usr/lib/" + name + "/" + kBaseName};
    const QString installed = Output("dpkg-query", {"--listfiles", name}).value_or(QString());
    const QStringList files = installed.split('\n');
    if (files.contains(ours[0]) || files.contains(ours[1])) {
        return std::string();
    }
    if (!installed.isEmpty() || Output("dpkg-query", {"--show", name})) {
        return std::string("a package that dpkg knows");
    }
    // Without package lists apt knows only what is installed, and a name of
    // the archive would pass unseen.
    const std::optional<QString> lists =
        Output("apt-get", {"indextargets", "--format", "$(FILENAME)", "Created-By: Packages"});
    if (!lists || lists->trimmed().isEmpty()) {
        return Fail("apt has no package lists on this machine, so the package name \"" +
                    PathFromQString(name) +
                    "\" cannot be checked against Debian's packages; run \"apt update\" "
                    "(as root) and try again");
    }
    if (Output("apt-cache", {"showpkg", name}).value_or(QString()).startsWith("Package: ")) {
        return std::string("a package that apt knows");
    }
    if (const QString command = CommandNamed(name); !command.isEmpty()) {
        return "the command " + PathFromQString(command);
    }
    return std::string();
}

}  // namespace

Result<std::string> BrandPackageName(const std::string& wanted, const std::string& product) {
    const std::string name = wanted.empty() ? PackageNameFor(product) : wanted;
    const std::string source =
        wanted.empty() ? "the product name \"" + product + "\" gives" : "\"" + wanted + "\" is";
    if (!IsPackageName(name) || name == kBaseName) {
        return Fail("no package name: " + source +
                    " none; give one of lower-case letters, digits and \"-\" with --name (not \"" +
                    kBaseName + "\")");
    }
    const Result<std::string> taken = NameTakenBy(PathToQString(name));
    if (!taken.ok()) {
        return taken;
    }
    if (!taken->empty()) {
        return Fail("the package name \"" + name + "\" is taken on this machine by " + *taken +
                    "; give another one with --name");
    }
    return name;
}

}  // namespace zolt

// zolt-brand: makes, encrypts, decrypts and checks the brand settings of
// RSS Feed Zolt, and packs skins. It reads settings with the program's own
// code, so what it reports is what the program will do.

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/BrandInstaller.h"
#include "tools/BrandPackage.h"
#include "tools/BrandToolFiles.h"
#include "tools/SettingsCheck.h"
#include "tools/SettingsTemplate.h"
#include "tools/UpdateSigning.h"
#include "util/SettingsFileCrypt.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace zolt {
namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kWarnings = 2;

// A command gives its exit status (kOk, or kWarnings from check) or why it
// failed, which Main prints with status kFailed.
struct Command {
    const char* usage;
    const char* help;
    int argumentCount;  // -1: the command checks its own
    std::function<Result<int>(const std::vector<std::string>&)> run;
};

void Print(FILE* to, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), to);
}

// The exit status of a command that gives no value of its own.
Result<int> Done(const Status& status) {
    if (!status.ok()) {
        return Fail(status.error());
    }
    return kOk;
}

Result<int> New(const std::vector<std::string>& args) {
    const std::string& path = args[0];
    if (NameIsTaken(path)) {
        return Fail("\"" + path + "\" exists already; it is left as it is");
    }
    return Done(WriteToolOutput(path, SettingsTemplateText(), false));
}

Result<int> Encrypt(const std::vector<std::string>& args) {
    return Done(EncryptSettingsFile(args[0], args[1], ToolOutputMode(false)));
}

Result<int> Decrypt(const std::vector<std::string>& args) {
    // The plain text is the reseller's own; nobody else needs to read it.
    return Done(DecryptSettingsFile(args[0], args[1], ToolOutputMode(true)));
}

bool CanDecode(const std::string& format, const std::string& bytes) {
    const QByteArray name = QByteArray::fromStdString(format);
    if (!QImageReader::supportedImageFormats().contains(name)) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    QImage image;
    return image.loadFromData(QByteArray::fromStdString(bytes), name.constData());
}

Result<int> Check(const std::vector<std::string>& args) {
    const Result<std::string> bytes = ReadToolInput(args[0]);
    if (!bytes.ok()) {
        return Fail(bytes.error());
    }
    std::string plain;
    std::string kind;
    if (DecryptSettingsBytes(*bytes, plain)) {
        kind = "encrypted settings file";
    } else if (bytes->find("<%%") != std::string::npos) {
        plain = *bytes;
        kind = "plain settings text";
    } else {
        return Fail("\"" + args[0] +
                    "\" holds no settings elements and does not decrypt: the password does not "
                    "fit or the file is damaged");
    }
    const std::string folder = PathFromQString(QFileInfo(PathToQString(args[0])).absolutePath());
    const SettingsCheckReport report = CheckSettingsText(plain, folder, CanDecode);
    Print(stdout, args[0] + ": " + kind + "\n");
    for (const auto& [name, value] : report.values) {
        Print(stdout, name + ": " + QuoteValue(value) + "\n");
    }
    for (const std::string& warning : report.warnings) {
        Print(stdout, "warning: " + warning + "\n");
    }
    return report.warnings.empty() ? kOk : kWarnings;
}

Result<int> Skin(const std::vector<std::string>& args) {
    const Result<std::string> sheet = ReadToolInput(args[0]);
    if (!sheet.ok()) {
        return Fail(sheet.error());
    }
    if (Trim(*sheet).empty()) {
        return Fail("\"" + args[0] + "\" is empty; the program would keep its built-in skin");
    }
    return Done(WriteToolOutput(args[1], ZlibCompress(*sheet), false));
}

// The two operands of a command, with the values of its "--option VALUE"
// pairs stored through `options`; an unknown option or another count of
// operands is refused, the latter with `missing`.
Result<std::vector<std::string>> TwoOperands(const std::vector<std::string>& args,
                                             const std::map<std::string, std::string*>& options,
                                             const std::string& missing) {
    std::vector<std::string> operands;
    for (size_t i = 0; i < args.size(); ++i) {
        const auto option = options.find(args[i]);
        if (option != options.end() && i + 1 < args.size()) {
            *option->second = args[++i];
        } else if (args[i].rfind("--", 0) == 0) {
            return Fail("unknown option \"" + args[i] + "\"");
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() != 2) {
        return Fail(missing);
    }
    return operands;
}

// The path of what a command made, printed; its failure as the command's.
Result<int> PrintWritten(const Result<std::string>& written) {
    if (!written.ok()) {
        return Fail(written.error());
    }
    Print(stdout, *written + "\n");
    return kOk;
}

Result<int> Package(const std::vector<std::string>& args) {
    BrandPackageRequest request;
    request.outFolder = ".";
    const auto folders =
        TwoOperands(args, {{"--name", &request.name}, {"--summary", &request.summary}},
                    "give the brand folder and the rssfeedzolt package (BASE-DEB)");
    if (!folders.ok()) {
        return Fail(folders.error());
    }
    request.brandFolder = (*folders)[0];
    request.baseDeb = (*folders)[1];
    // Warnings only: the reseller may package a brand still being worked on.
    const std::string settings = request.brandFolder + "/dbsettings.dat";
    std::string plain;
    if (const Result<std::string> bytes = ReadToolInput(settings);
        bytes.ok() && DecryptSettingsBytes(*bytes, plain)) {
        for (const std::string& w :
             CheckSettingsText(plain, request.brandFolder, CanDecode).warnings) {
            Print(stderr, "zolt-brand: warning: " + w + "\n");
        }
    }
    return PrintWritten(MakeBrandPackage(request));
}

Result<int> Installer(const std::vector<std::string>& args) {
    BrandInstallerRequest request;
    request.outFolder = ".";
    const auto folders =
        TwoOperands(args, {{"--name", &request.name}},
                    "give the brand folder and the unpacked portable folder (BASE-FOLDER)");
    if (!folders.ok()) {
        return Fail(folders.error());
    }
    request.brandFolder = (*folders)[0];
    request.baseFolder = (*folders)[1];
    return PrintWritten(MakeBrandInstaller(request));
}

// The text a command made, printed; its failure as the command's.
Result<int> PrintMade(const Result<std::string>& made) {
    if (!made.ok()) {
        return Fail(made.error());
    }
    Print(stdout, *made + (made->empty() || made->back() == '\n' ? "" : "\n"));
    return kOk;
}

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands = {
        {"new",
         {"zolt-brand new FILE",
          "Writes a settings text to FILE (which must not exist yet) with every key in the\n"
          "order the program reads them, an example value for each, and one entry of each\n"
          "list (Welcome1, Banner1, Link1). Edit it, then encrypt it.\n",
          1, New}},
        {"encrypt",
         {"zolt-brand encrypt PLAIN DAT",
          "Encrypts the settings text PLAIN into DAT, the file the program reads under the\n"
          "name dbsettings.dat beside its executable. DAT is replaced only when the whole\n"
          "file has been written.\n",
          2, Encrypt}},
        {"decrypt",
         {"zolt-brand decrypt DAT PLAIN",
          "Decrypts the settings file DAT into the settings text PLAIN (readable by you\n"
          "only). When DAT does not decrypt (a file made with another password, or damaged)\n"
          "it says so, exits with status 1 and writes nothing.\n",
          2, Decrypt}},
        {"check",
         {"zolt-brand check FILE",
          "Reads FILE, a settings text or an encrypted settings file, the way the program\n"
          "does and prints every key with its value, the list entries read, and what they\n"
          "make of the window. Then it warns about what the program will miss or get wrong:\n"
          "elements out of order, list entries after a gap or above 16, elements without\n"
          "closing tag, banner entries without their bannerN.dat beside FILE or with an\n"
          "image name of no known picture format, a BranderType outside Master, Platinum,\n"
          "Gold and Free, an empty news channel for the chosen level, and an UpdateBaseURL or\n"
          "UpdatePublicKey the program cannot use.\n"
          "Exit status: 0 without warnings, 2 with warnings, 1 when FILE cannot be read.\n",
          1, Check}},
        {"skin",
         {"zolt-brand skin STYLESHEET SKINFILE",
          "Packs a Qt style sheet into SKINFILE in the compressed form the program loads\n"
          "from mainskin.dat beside its executable, replacing its built-in skin.\n",
          2, Skin}},
        {"package",
         {"zolt-brand package [--name NAME] [--summary TEXT] BRAND-FOLDER BASE-DEB",
          "Makes a Debian package of the brand in the current folder: the program of the\n"
          "rssfeedzolt package BASE-DEB in /usr/lib/NAME with the brand's files from\n"
          "BRAND-FOLDER beside it (dbsettings.dat, banner1.dat to banner16.dat,\n"
          "mainskin.dat, main.ico), /usr/bin/NAME, and a desktop entry, icons (from\n"
          "main.ico) and AppStream metainfo under the brand's product name. NAME is made\n"
          "of the product name unless --name gives it; --summary sets the one-line\n"
          "description (else the base package's). Prints the package's path. Needs\n"
          "dpkg-deb.\n",
          -1, Package}},
        {"installer",
         {"zolt-brand installer [--name NAME] BRAND-FOLDER BASE-FOLDER",
          "Makes a Windows installer of the brand in the current folder, NAME-VERSION-win64.exe:\n"
          "the files of BASE-FOLDER, the unpacked RSSFeedZolt-VERSION-win64.zip, with the\n"
          "brand's files from BRAND-FOLDER beside rssfeedzolt.exe, installed for all users\n"
          "under Program Files with a Start-menu entry and an uninstaller, and shown in\n"
          "\"Apps\" under the brand's product name. NAME is made of the product name unless\n"
          "--name gives it. Prints the installer's path. Needs makensis (NSIS).\n",
          -1, Installer}},
        {"update-key",
         {"zolt-brand update-key KEYFILE",
          "Makes a key pair for signing the brand's update packages: the secret key goes to\n"
          "KEYFILE (which must not exist yet; readable by you only; keep it off the update\n"
          "site and out of every package), the public key is printed as the settings file\n"
          "takes it, an UpdatePublicKey element for the brand's settings text.\n",
          1, [](const std::vector<std::string>& a) { return PrintMade(MakeUpdateKeyFile(a[0])); }}},
        {"update-sign",
         {"zolt-brand update-sign KEYFILE PACKAGE",
          "Signs an update package with the secret key in KEYFILE and prints its section\n"
          "for mainappupdate.inf: [WIN64] for the portable .zip of the Windows program,\n"
          "[LINUX64] for the portable .tar.gz of the Linux one, with File, Size, SHA256 and\n"
          "Signature. Put PACKAGE beside mainappupdate.inf on the update site. A package the\n"
          "updater would refuse (a link, a device, a name leaving its folder) is not signed.\n",
          2,
          [](const std::vector<std::string>& a) {
              return PrintMade(SignUpdatePackage(a[0], a[1]));
          }}},
    };
    return commands;
}

void PrintOverview(FILE* to) {
    Print(to, "zolt-brand: brand settings for RSS Feed Zolt.\n\nUsage:\n");
    for (const auto& [name, command] : Commands()) {
        Print(to, std::string("  ") + command.usage + "\n");
    }
    Print(to,
          "\n'zolt-brand COMMAND --help' tells more about one command.\n"
          "Exit status 0 on success, 1 on failure (2: check found something to warn about).\n");
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h" || arg == "help";
}

int Main(const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintOverview(stderr);
        return kFailed;
    }
    if (IsHelp(args[0])) {
        if (args.size() > 1 && Commands().count(args[1])) {
            const Command& c = Commands().at(args[1]);
            Print(stdout, std::string("Usage: ") + c.usage + "\n\n" + c.help);
        } else {
            PrintOverview(stdout);
        }
        return kOk;
    }
    const auto found = Commands().find(args[0]);
    if (found == Commands().end()) {
        Print(stderr, "zolt-brand: unknown command \"" + args[0] + "\"\n\n");
        PrintOverview(stderr);
        return kFailed;
    }
    const Command& command = found->second;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& arg : rest) {
        if (arg == "--help" || arg == "-h") {
            Print(stdout, std::string("Usage: ") + command.usage + "\n\n" + command.help);
            return kOk;
        }
    }
    if (command.argumentCount >= 0 && static_cast<int>(rest.size()) != command.argumentCount) {
        Print(stderr, std::string("Usage: ") + command.usage + "\n");
        return kFailed;
    }
    // Nothing throws on purpose; what escapes anyway (out of memory, say)
    // is told as a failure all the same.
    try {
        const Result<int> status = command.run(rest);
        if (!status.ok()) {
            Print(stderr, "zolt-brand: " + status.error() + "\n");
            return kFailed;
        }
        return *status;
    } catch (const std::exception& e) {
        Print(stderr, std::string("zolt-brand: ") + e.what() + "\n");
        return kFailed;
    }
}

}  // namespace
}  // namespace zolt

int main(int argc, char** argv) {
    // Picture formats come from Qt's plugins, which need an application
    // object to be found.
    QCoreApplication app(argc, argv);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return zolt::Main(args);
}

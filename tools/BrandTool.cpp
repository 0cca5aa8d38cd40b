// zolt-brand: makes, encrypts, decrypts and checks the brand settings of
// RSS Feed Zolt, and packs skins. It reads settings with the program's own
// code, so what it reports is what the program will do.

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "branding/AppVersion.h"
#include "branding/SkinSheet.h"
#include "tools/AptRepository.h"
#include "tools/BrandFileCheck.h"
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
    SettingsCheckReport report = CheckSettingsText(plain, folder, CanDecode);
    CheckBrandFiles(folder, report);
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
    if (const Status readable = CheckSkinStyleSheet(*sheet); !readable.ok()) {
        return Fail("\"" + args[0] + "\": " + readable.error());
    }
    return Done(WriteToolOutput(args[1], ZlibCompress(*sheet), false));
}

// The operands of a command, with the values of its "--option VALUE" pairs
// stored through `options`; an unknown option or a count of operands other
// than `count` (or more, with `orMore`) is refused, the latter with `missing`.
Result<std::vector<std::string>> Operands(const std::vector<std::string>& args,
                                          const std::map<std::string, std::string*>& options,
                                          const std::string& missing, size_t count = 2,
                                          bool orMore = false) {
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
    if (operands.size() < count || (operands.size() > count && !orMore)) {
        return Fail(missing);
    }
    return operands;
}

// The text a command made, printed; its failure as the command's.
Result<int> PrintMade(const Result<std::string>& made) {
    if (!made.ok()) {
        return Fail(made.error());
    }
    Print(stdout, *made + (made->empty() || made->back() == '\n' ? "" : "\n"));
    return kOk;
}

Result<int> Package(const std::vector<std::string>& args) {
    BrandPackageRequest request;
    request.outFolder = ".";
    const auto folders = Operands(args,
                                  {{"--name", &request.name},
                                   {"--summary", &request.summary},
                                   {"--maintainer", &request.maintainer},
                                   {"--repository", &request.repository},
                                   {"--key", &request.keyFile}},
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
    return PrintMade(MakeBrandPackage(request));
}

// The signing key of --sign (or the first operand), its password from
// --password-file and the time stamp server of --timestamp.
Result<SigningKey> ReadSigningKey(const std::string& pfx, const std::string& passwordFile,
                                  const std::string& timestamp) {
    SigningKey key{pfx, "", timestamp};
    if (!timestamp.empty() && !IsTimestampAddress(timestamp)) {
        return Fail("the time stamp server must be an http or https address of plain characters");
    }
    if (!passwordFile.empty()) {
        const Result<std::string> password = ReadPassword(passwordFile);
        if (!password.ok()) {
            return Fail(password.error());
        }
        key.password = *password;
    }
    return key;
}

Result<int> Installer(const std::vector<std::string>& args) {
    BrandInstallerRequest request;
    request.outFolder = ".";
    std::string pfx, passwordFile, timestamp;
    const auto folders =
        Operands(args,
                 {{"--name", &request.name},
                  {"--sign", &pfx},
                  {"--password-file", &passwordFile},
                  {"--timestamp", &timestamp}},
                 "give the brand folder and the unpacked portable folder (BASE-FOLDER)");
    if (!folders.ok()) {
        return Fail(folders.error());
    }
    request.brandFolder = (*folders)[0];
    request.baseFolder = (*folders)[1];
    if (pfx.empty()) {
        Print(stderr,
              "zolt-brand: the installer and its programs are not signed (--sign "
              "CERT.pfx signs them); Windows warns before it runs them\n");
    } else {
        const Result<SigningKey> key = ReadSigningKey(pfx, passwordFile, timestamp);
        if (!key.ok()) {
            return Fail(key.error());
        }
        request.signing = *key;
    }
    return PrintMade(MakeBrandInstaller(request));
}

Result<int> Sign(const std::vector<std::string>& args) {
    std::string passwordFile, timestamp;
    const auto operands =
        Operands(args, {{"--password-file", &passwordFile}, {"--timestamp", &timestamp}},
                 "give the certificate (CERT.pfx) and the files to sign", 2, true);
    if (!operands.ok()) {
        return Fail(operands.error());
    }
    const Result<SigningKey> key = ReadSigningKey((*operands)[0], passwordFile, timestamp);
    if (!key.ok()) {
        return Fail(key.error());
    }
    const QTemporaryDir work;  // for the password, readable by this user only
    for (auto file = operands->begin() + 1; file != operands->end(); ++file) {
        const QString path = QFileInfo(PathToQString(*file)).absoluteFilePath();
        if (const Status done = SignWindowsFile(*key, path, work.path()); !done.ok()) {
            return Fail(done.error());
        }
    }
    return kOk;
}

Result<int> Repository(const std::vector<std::string>& args) {
    AptRepositoryRequest request;
    std::string passwordFile;
    const auto operands =
        Operands(args, {{"--password-file", &passwordFile}},
                 "give the repository folder, the secret key and the packages", 3, true);
    if (!operands.ok()) {
        return Fail(operands.error());
    }
    request.folder = (*operands)[0];
    request.secretKeyFile = (*operands)[1];
    request.debs.assign(operands->begin() + 2, operands->end());
    if (!passwordFile.empty()) {
        const Result<std::string> password = ReadPassword(passwordFile);
        if (!password.ok()) {
            return Fail(password.error());
        }
        request.password = *password;
    }
    return PrintMade(MakeAptRepository(request));
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
          "Gold and Free, an empty news channel for the chosen level, an UpdateBaseURL or\n"
          "UpdatePublicKey the program cannot use, and a mainskin.dat or main.ico beside\n"
          "FILE that the program cannot use (it names the line where Qt stops reading\n"
          "the style sheet, and the sizes the icon holds).\n"
          "Exit status: 0 without warnings, 2 with warnings, 1 when FILE cannot be read.\n",
          1, Check}},
        {"skin",
         {"zolt-brand skin STYLESHEET SKINFILE",
          "Packs a Qt style sheet into SKINFILE in the compressed form the program loads\n"
          "from mainskin.dat beside its executable, replacing its built-in skin. A sheet\n"
          "that Qt cannot parse is refused with the line where Qt stops reading it.\n",
          2, Skin}},
        {"package",
         {"zolt-brand package --maintainer \"NAME <ADDRESS>\" [--name NAME] [--summary TEXT]\n"
          "                   [--repository URL --key KEY.asc] BRAND-FOLDER BASE-DEB",
          "Makes a Debian package of the brand in the current folder that names the brand\n"
          "only: the program of the rssfeedzolt package BASE-DEB as /usr/lib/NAME/NAME with\n"
          "the brand's files from BRAND-FOLDER beside it (dbsettings.dat, banner1.dat to\n"
          "banner16.dat, mainskin.dat, main.ico), /usr/bin/NAME, feedreader.php in\n"
          "/usr/share/NAME, and a desktop entry, icons (from main.ico), AppStream metainfo,\n"
          "manual page, copyright and changelog of the brand. --maintainer names you, the\n"
          "package's maintainer. NAME is made of the product name unless --name gives it;\n"
          "--summary sets the one-line description (else the base package's). Prints the\n"
          "package's path. With --repository URL and --key KEY.asc (the public key that\n"
          "signs the repository made by 'zolt-brand repository') the package adds the\n"
          "sources entry /etc/apt/sources.list.d/NAME.sources of that repository and its\n"
          "keyring, so that apt updates it. Needs dpkg-deb, gpg and apt's package lists.\n",
          -1, Package}},
        {"repository",
         {"zolt-brand repository [--password-file FILE] FOLDER KEY DEB...",
          "Adds the Debian packages DEB to the signed apt repository in FOLDER (made when\n"
          "missing; suite \"stable\", component \"main\") and signs its lists with the\n"
          "OpenPGP secret key in the file KEY (gpg --export-secret-keys --armor). The\n"
          "key's password comes from FILE, or from standard input for \"-\". FOLDER gets\n"
          "archive-key.asc, the public key for 'zolt-brand package --key'. Serve FOLDER\n"
          "on your web site. Needs apt-ftparchive (apt-utils), gpg and dpkg-deb.\n",
          -1, Repository}},
        {"sign",
         {"zolt-brand sign [--password-file FILE] [--timestamp URL] CERT.pfx FILE...",
          "Signs the Windows programs and libraries FILE with Authenticode (SHA-256) and the\n"
          "certificate in CERT.pfx, replacing a signature they hold. The password comes\n"
          "from FILE of --password-file, or standard input for \"-\". Needs osslsigncode.\n",
          -1, Sign}},
        {"installer",
         {"zolt-brand installer [--name NAME] [--sign CERT.pfx [--password-file FILE]\n"
          "                     [--timestamp URL]] BRAND-FOLDER BASE-FOLDER",
          "Makes a Windows installer of the brand in the current folder, NAME-VERSION-win64.exe:\n"
          "the files of BASE-FOLDER, the unpacked RSSFeedZolt-VERSION-win64.zip, with the\n"
          "brand's files from BRAND-FOLDER beside rssfeedzolt.exe, installed for all users\n"
          "under Program Files with a Start-menu entry and an uninstaller, and shown in\n"
          "\"Apps\" under the brand's product name. NAME is made of the product name unless\n"
          "--name gives it. --sign signs the installer, its .exe and .dll files and the\n"
          "uninstaller with the certificate in CERT.pfx (Authenticode; the password from\n"
          "--password-file FILE, or standard input for \"-\"; --timestamp URL adds an\n"
          "RFC 3161 time stamp). Prints the installer's path. Needs makensis (NSIS), and\n"
          "osslsigncode to sign.\n",
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
          "\n'zolt-brand COMMAND --help' tells more about one command; 'zolt-brand --version'\n"
          "prints the version.\n"
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
    if (args[0] == "--version" || args[0] == "-V") {
        Print(stdout, std::string("zolt-brand ") + AppVersion + "\n");
        return kOk;
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

#include "update/UpdaterArguments.h"

#include "branding/UpdateSettings.h"

namespace zolt {

namespace {

constexpr const char* kFolderOption = "--folder";
constexpr const char* kElevatedOption = "--elevated";
constexpr const char* kRecoverOption = "--recover";

}  // namespace

Result<UpdaterArguments> ParseUpdaterArguments(const std::vector<std::string>& args) {
    if (args.size() < 3 || args[2] != "A") {
        return Fail(
            "The updater is started by the program when it offers an update; it "
            "cannot be used on its own.");
    }
    UpdaterArguments parsed;
    Result<std::string> url = CheckUpdateBaseUrl(args[0]);
    if (!url.ok()) {
        return Fail("The updater was given no usable update site: " + url.error() + ".");
    }
    parsed.baseUrl = *url;
    parsed.runningVersion = args[1];
    for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == kFolderOption && i + 1 < args.size()) {
            parsed.folder = args[++i];
        } else if (args[i] == kElevatedOption) {
            parsed.elevated = true;
        } else if (args[i] == kRecoverOption) {
            parsed.recoverOnly = true;
        } else {
            return Fail("The updater does not know the option \"" + args[i] + "\".");
        }
    }
    if (!parsed.folder.empty() && parsed.folder.back() != '/') {
        parsed.folder += '/';
    }
    return parsed;
}

std::vector<std::string> UpdaterArgumentList(const UpdaterArguments& arguments) {
    std::vector<std::string> list{arguments.baseUrl, arguments.runningVersion, "A"};
    if (!arguments.folder.empty()) {
        list.insert(list.end(), {kFolderOption, arguments.folder});
    }
    if (arguments.elevated) {
        list.push_back(kElevatedOption);
    }
    if (arguments.recoverOnly) {
        list.push_back(kRecoverOption);
    }
    return list;
}

}  // namespace zolt

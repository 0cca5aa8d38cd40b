#include "tools/ToolProcess.h"

#include <QProcess>
#include <QStandardPaths>

#include "tools/PackageText.h"
#include "util/Text.h"

namespace zolt {

Result<QByteArray> RunTool(const ToolProgram& program, const QStringList& args,
                           const QByteArray& input, const QString& folder) {
    const QString path = QStandardPaths::findExecutable(program.name);
    if (path.isEmpty()) {
        return Fail(std::string(program.name) + " is missing (it comes with " + program.comesWith +
                    ")");
    }
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(path, args);
    if (process.waitForStarted()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!process.waitForFinished(10 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        // The last lines say what went wrong; earlier ones may be progress.
        QByteArray said = process.readAllStandardError();
        if (said.trimmed().isEmpty()) {
            said = process.readAllStandardOutput();  // makensis tells there
        }
        const std::string complaint = OneLine(said.right(2000).toStdString());
        return Fail(std::string(program.name) + " " +
                    PathFromQString(args.isEmpty() ? QString() : args.front()) + " failed" +
                    (complaint.empty() ? std::string() : ": " + complaint));
    }
    return process.readAllStandardOutput();
}

}  // namespace zolt

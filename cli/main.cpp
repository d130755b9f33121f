// tessora-cli: the engine without windows, for scripts, batch runs and tests.
#include "cli/uCommands.h"

#include "platform/uProgramFolder.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace tessora::cli {

namespace {

struct TCommand {
    const char* Name;
    int (*Run)(const QStringList&);
};

const TCommand kCommands[] = {
    {"info", CmdInfo},
    {"convert", CmdConvert},
};

const char* kUsage =
    "usage: tessora-cli [--home DIR] COMMAND ...\n"
    "  info FILE                 a template or project as JSON\n"
    "  convert IN OUT.shl        save a template or project as a current project\n";

} // namespace

int UsageError(const QString& text) {
    std::fprintf(stderr, "tessora-cli: %s\n%s", text.toLocal8Bit().constData(), kUsage);
    return 2;
}

int Failure(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return 1;
}

} // namespace tessora::cli

int main(int argc, char** argv) {
    using namespace tessora::cli;
    // The engine draws with QtGui only; it never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    QString home;
    if (!args.isEmpty() && args.front() == "--home") {
        if (args.size() < 2) return UsageError("--home needs a folder");
        home = args[1];
        args = args.mid(2);
    }
    if (args.isEmpty()) return UsageError("no command given");
    const QString name = args.takeFirst();
    for (const auto& c : kCommands) {
        if (name == c.Name) {
            tessora::ResolveProgramFolder(home);
            return c.Run(args);
        }
    }
    if (name == "--help" || name == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return UsageError("unknown command '" + name + "'");
}

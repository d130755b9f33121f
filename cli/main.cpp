// tessora-cli: the engine without windows, for scripts, batch runs and tests.
#include "cli/uCommands.h"

#include "platform/uProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <unistd.h>
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
    {"render", CmdRender},
    {"pdf", CmdPdf},
    {"barcode", CmdBarcode},
    {"catalogue", CmdCatalogue},
};

const char* kUsage =
    "usage: tessora-cli [--home DIR] COMMAND ...\n"
    "  info FILE                 a template or project as JSON\n"
    "  convert IN OUT.shl        save a template or project as a current project\n"
    "  render FILE -o OUT.png [--width PX] [--zoom N]\n"
    "                            the sheet as the view draws it (label N zoomed)\n"
    "  pdf FILE -o OUT.pdf [--page N] [--pages A-B] [-v]\n"
    "                            the print-ready PDF (page N, or pages A to B)\n"
    "  barcode --type T --text TEXT [--checksum] [--modul PX] [--ratio R] [--height PX]\n"
    "          [--show none|code|type|both] [--position 0..5] [--angle DEG]\n"
    "          (--pattern | -o OUT.png | -o OUT.svg)\n"
    "                            one barcode (T a type name or 0..22): its line pattern\n"
    "                            and prepared text, or drawn with a quiet zone\n"
    "  catalogue OUTDIR [--width PX]\n"
    "                            the download server's files for the program folder's\n"
    "                            templates and projects, with previews PX wide (300)\n";

} // namespace

int UsageError(const QString& text) {
    std::fprintf(stderr, "tessora-cli: %s\n%s", text.toLocal8Bit().constData(), kUsage);
    return 2;
}

int Failure(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return 1;
}

int MessagesFailure(const TScriptedMessages& msgs, const QString& fallback) {
    QStringList texts;
    for (const auto& t : msgs.Texts()) texts << QString::fromStdString(t);
    return Failure(texts.isEmpty() ? fallback : texts.join('\n'));
}

} // namespace tessora::cli

int main(int argc, char** argv) {
    using namespace tessora::cli;
    // The engine draws with QtGui only; it never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder and complains on stderr without one.
        const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/tessora-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromLocal8Bit(dir));
        QFile::setPermissions(QString::fromLocal8Bit(dir), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
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

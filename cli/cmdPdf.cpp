// pdf: a project or template written as the print-ready PDF.
#include "cli/uCommands.h"

#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uStatus.h"
#include "platform/uText.h"
#include "sheetview/uSheet.h"

#include <QFileInfo>

namespace tessora::cli {

namespace {

bool ParsePage(const QString& s, int& out) {
    bool ok = false;
    out = s.toInt(&ok);
    return ok && out >= 1 && out <= 100000;
}

} // namespace

int CmdPdf(const QStringList& args) {
    QString in, out;
    int page = 0, first = 0, last = 0;
    bool verbose = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == "-o" && hasValue) {
            out = args[++i];
        } else if (a == "--page" && hasValue) {
            ok = ParsePage(args[++i], page);
        } else if (a == "--pages" && hasValue) {
            const QStringList r = args[++i].split('-');
            ok = r.size() == 2 && ParsePage(r[0], first) && ParsePage(r[1], last) && first <= last;
        } else if (a == "-v") {
            verbose = true;
        } else if (!a.startsWith('-') && in.isEmpty()) {
            in = a;
        } else {
            ok = false;
        }
        if (!ok) return UsageError("pdf: bad argument '" + a + "'");
    }
    if (in.isEmpty() || out.isEmpty()) return UsageError("pdf needs FILE and -o OUT.pdf");
    if (page && first) return UsageError("pdf: --page and --pages exclude each other");

    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    TStderrStatus stderrStatus;
    if (verbose) SetStatusWindow(&stderrStatus);
    TSheet sheet;
    const std::string path = S(QFileInfo(in).absoluteFilePath());
    const int kind = FileKind(path);
    const bool loaded = kind >= 1 ? sheet.StartNewProject(path, kind) : sheet.OpenProjectFile(path);
    int rc = 0;
    if (!loaded) {
        rc = MessagesFailure(msgs, "Can't read " + in);
    } else {
        if (page) sheet.Settings.PageNum = page;
        const std::string target = S(QFileInfo(out).absoluteFilePath());
        const bool ok = first ? sheet.WriteSheetPdfPages(target, false, first, last) : sheet.WriteSheetPdf(target, false);
        if (!ok) rc = MessagesFailure(msgs, "Can't write " + out);
    }
    SetStatusWindow(nullptr);
    return rc;
}

} // namespace tessora::cli

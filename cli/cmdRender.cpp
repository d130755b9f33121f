// render: the sheet as the view draws it, into a PNG.
#include "cli/uCommands.h"

#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uText.h"
#include "sheetview/uSheet.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace tessora::cli {

int CmdRender(const QStringList& args) {
    QString in, out;
    int width = 1000, zoom = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](const char* what) -> QString {
            if (i + 1 >= args.size()) return {};
            (void)what;
            return args[++i];
        };
        bool ok = true;
        if (a == "-o") {
            out = value("-o");
            ok = !out.isEmpty();
        } else if (a == "--width") {
            width = value("--width").toInt(&ok);
            ok = ok && width >= 1 && width <= 20000;
        } else if (a == "--zoom") {
            zoom = value("--zoom").toInt(&ok);
            ok = ok && zoom >= 1;
        } else if (!a.startsWith('-') && in.isEmpty()) {
            in = a;
        } else {
            ok = false;
        }
        if (!ok) return UsageError("render: bad argument '" + a + "'");
    }
    if (in.isEmpty() || out.isEmpty()) return UsageError("render needs FILE and -o OUT.png");

    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    TSheet sheet;
    const std::string path = S(QFileInfo(in).absoluteFilePath());
    const int kind = FileKind(path);
    const bool ok = kind >= 1 ? sheet.LoadTemplate(path, false, kind == 2) : sheet.OpenProjectFile(path);
    if (!ok) return MessagesFailure(msgs, "Can't read " + in);
    if (zoom > 0) {
        if (size_t(zoom) > sheet.Labels.size())
            return Failure(QString("render: the sheet has %1 labels").arg(sheet.Labels.size()));
        sheet.CurLabel = zoom - 1;
        sheet.CurFace = 0;
        sheet.SetZoom(true);
    }
    const int height = std::max(1, RoundHalfEven(width * sheet.ViewHeight / sheet.ViewWidth));
    sheet.SetViewSize(QSize(width, height));

    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) return Failure("Can't write " + out);
    QImageWriter writer(&file, "png");
    if (!writer.write(sheet.SheetLayer.convertToFormat(QImage::Format_RGB32)) || !file.commit())
        return Failure("Can't write " + out);
    return 0;
}

} // namespace tessora::cli

// catalogue: the download server's files made from a program folder, for any static web
// server to host: the two list files, the templates and projects, a JPEG preview of each
// and the pictures they name.
#include "cli/uCommands.h"

#include "document/uCommon.h"
#include "document/uMessages.h"
#include "document/uPictureRefs.h"
#include "document/uSheetDocument.h"
#include "platform/uText.h"
#include "sheetview/uSheet.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QMap>
#include <QSaveFile>
#include <cstdio>

namespace tessora::cli {

namespace {

constexpr size_t kMaxFileBytes = 64u << 20;

void Warn(const QString& text) {
    std::fprintf(stderr, "tessora-cli: %s\n", text.toLocal8Bit().constData());
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    return f.commit();
}

bool CopyInto(const QString& source, const QString& dest) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return false;
    return WriteFile(dest, in.readAll());
}

class TCatalogWriter {
public:
    QDir Out;
    int PreviewWidth = 300;
    int Problems = 0;

    bool MakeFolders() {
        for (const char* d : {"templates", "labels", "preview", "vector", "images"})
            if (!Out.mkpath(d)) return false;
        return true;
    }

    // Publishes the files of one program folder; returns the names of the list file.
    QStringList Publish(const char* localFolder, const char* serverFolder, bool projects) {
        QStringList names;
        const std::string folder = ProgramFolderPath(std::string(localFolder) + "/");
        for (const std::string& file : ListFiles(folder, "*.*", true)) {
            const int kind = FileKind(file);
            if (projects ? kind != 0 : kind < 1) continue;
            const QString name = QString::fromStdString(file);
            // The catalogue refuses other names; publishing them would list nothing usable.
            if (!IsBareName(file)) {
                Problem(QString("%1: not a plain file name, left out").arg(name));
                continue;
            }
            if (!PublishOne(folder + file, name, serverFolder, projects, kind)) continue;
            names << name;
        }
        return names;
    }

    void Problem(const QString& text) {
        Warn(text);
        ++Problems;
    }

private:
    // Pictures published so far under each bare name, and where they came from.
    QMap<QString, QString> Published;
    // The file each preview was made from, by name without extension.
    QMap<QString, QString> Previews;

    bool PublishOne(const std::string& path, const QString& name, const char* serverFolder, bool project,
                    int kind) {
        TScriptedMessages msgs;
        TMessageScope scope(msgs);
        TSheet sheet;
        const bool ok = project ? sheet.OpenProjectFile(path) : sheet.LoadTemplate(path, false, kind == 2);
        if (!ok) {
            QStringList texts;
            for (const auto& t : msgs.Texts()) texts << QString::fromStdString(t);
            Problem(QString("%1: can't be read, left out%2").arg(name, texts.isEmpty() ? "" : " (" + texts.join(' ') + ")"));
            return false;
        }
        const int height = std::max(1, RoundHalfEven(PreviewWidth * sheet.ViewHeight / sheet.ViewWidth));
        sheet.SetViewSize(QSize(PreviewWidth, height));
        QByteArray jpeg;
        {
            QBuffer buf(&jpeg);
            buf.open(QIODevice::WriteOnly);
            QImageWriter writer(&buf, "jpeg");
            writer.setQuality(90);
            if (!writer.write(sheet.SheetLayer.convertToFormat(QImage::Format_RGB32))) jpeg.clear();
        }
        const QString stem = QString::fromStdString(ExtractFileStem(path));
        // The server keeps one preview per name without extension.
        if (Previews.contains(stem)) {
            Problem(QString("%1: its preview would replace the one of %2, left out").arg(name, Previews[stem]));
            return false;
        }
        if (jpeg.isEmpty() || !WriteFile(Out.filePath("preview/" + stem + ".jpg"), jpeg)) {
            Problem(QString("%1: can't write its preview").arg(name));
            return false;
        }
        Previews[stem] = name;
        if (!CopyInto(QString::fromStdString(path), Out.filePath(QString(serverFolder) + "/" + name))) {
            Problem(QString("%1: can't be copied").arg(name));
            return false;
        }
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path, bytes, kMaxFileBytes)) return true;
        const TPictureRefs refs = ScanPictureRefs(bytes, project);
        if (!refs.Vector.empty()) PublishPicture(name, refs.Vector, "vector");
        for (const std::string& img : refs.Images)
            PublishPicture(name, img, "images");
        return true;
    }

    // The downloader asks for the stored name's last part in `serverFolder`.
    void PublishPicture(const QString& owner, const std::string& stored, const char* serverFolder) {
        const QString bare = QString::fromStdString(StoredFileName(stored));
        const QString source = QString::fromStdString(ToAbsolutePath(stored));
        if (!IsBareName(bare.toStdString())) {
            Problem(QString("%1: picture %2 has no plain file name, left out").arg(owner, QString::fromStdString(stored)));
            return;
        }
        const QString key = QString(serverFolder) + "/" + bare;
        if (Published.contains(key)) {
            if (Published[key] != source)
                Problem(QString("%1: %2 and %3 share the name %4; the first is kept")
                            .arg(owner, Published[key], source, bare));
            return;
        }
        if (!QFileInfo(source).isFile()) {
            Problem(QString("%1: picture %2 not found").arg(owner, source));
            return;
        }
        if (!CopyInto(source, Out.filePath(key))) {
            Problem(QString("%1: can't copy %2").arg(owner, source));
            return;
        }
        Published[key] = source;
    }
};

QByteArray ListText(const QStringList& names) {
    QByteArray text;
    for (const QString& n : names) text += n.toUtf8() + "\r\n";
    return text;
}

} // namespace

int CmdCatalogue(const QStringList& args) {
    TCatalogWriter w;
    QString out;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == "--width" && i + 1 < args.size()) {
            w.PreviewWidth = args[++i].toInt(&ok);
            ok = ok && w.PreviewWidth >= 16 && w.PreviewWidth <= 4000;
        } else if (!a.startsWith('-') && out.isEmpty()) {
            out = a;
        } else {
            ok = false;
        }
        if (!ok) return UsageError("catalogue: bad argument '" + a + "'");
    }
    if (out.isEmpty()) return UsageError("catalogue needs OUTDIR");
    if (!QDir().mkpath(out)) return Failure("Can't write " + out);
    w.Out = QDir(QFileInfo(out).absoluteFilePath());
    if (!w.MakeFolders()) return Failure("Can't write " + out);

    const QStringList templates = w.Publish("Templates", "templates", false);
    const QStringList labels = w.Publish("Label Projects", "labels", true);
    const QString version = QStringLiteral(TESSORA_VERSION).section('.', 0, 2);
    if (!WriteFile(w.Out.filePath("templates.ini"), ListText(templates)) ||
        !WriteFile(w.Out.filePath("labels.ini"), ListText(labels)) ||
        !WriteFile(w.Out.filePath("version.ini"), version.toUtf8() + "\r\n"))
        return Failure("Can't write " + out);
    std::printf("%lld templates, %lld projects\n", static_cast<long long>(templates.size()),
                static_cast<long long>(labels.size()));
    // Everything that could be published is there; a file left out still fails the run.
    return w.Problems ? 1 : 0;
}

} // namespace tessora::cli

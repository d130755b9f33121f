// info and convert: reading templates and projects of either layout.
#include "cli/uCommands.h"

#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uText.h"
#include "sheetview/uSheet.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace tessora::cli {

namespace {

struct TLoaded {
    bool Ok = false;
    bool IsTemplate = false;
};

TLoaded Load(TSheet& sheet, const QString& file, bool asNewProject) {
    const std::string path = S(QFileInfo(file).absoluteFilePath());
    const int kind = FileKind(path);
    if (kind >= 1) {
        const bool ok = asNewProject ? sheet.StartNewProject(path, kind) : sheet.LoadTemplate(path, false, kind == 2);
        return {ok, true};
    }
    return {sheet.OpenProjectFile(path), false};
}

QJsonObject HeaderJson(const TSheetHeader& h) {
    return {{"Units", h.Units},
            {"PaperSize", h.PaperSize},
            {"Shape", h.Shape},
            {"MarginLeft", h.MarginLeft},
            {"MarginTop", h.MarginTop},
            {"LabelWidth", h.LabelWidth},
            {"LabelHeight", h.LabelHeight},
            {"BoxDepth", h.BoxDepth},
            {"GapH", h.GapH},
            {"GapV", h.GapV},
            {"Columns", h.Columns},
            {"Rows", h.Rows},
            {"Rounding", h.Rounding},
            {"VectorFile", Q(h.VectorFile)},
            {"OrderCode", Q(h.OrderCode)}};
}

QJsonObject SettingsJson(const TProjectSettings& s) {
    return {{"VerMajor", s.VerMajor},         {"VerMinor", s.VerMinor},         {"SerialSuffix", Q(s.SerialSuffix)},
            {"SerialPrefix", Q(s.SerialPrefix)}, {"PageNum", s.PageNum},        {"PageCount", s.PageCount},
            {"SerialX", s.SerialX},           {"SerialY", s.SerialY},           {"SerialAlignH", s.SerialAlignH},
            {"SerialAlignV", s.SerialAlignV}, {"SerialOn", s.SerialOn}};
}

QJsonObject TextJson(const TLabelText& t) {
    return {{"X", t.X},
            {"Y", t.Y},
            {"Width", t.Width},
            {"Text", Q(t.Text)},
            {"FontName", Q(t.FontName)},
            {"FontStyle", Q(t.FontStyle)},
            {"FontColor", qint64(t.FontColor)},
            {"FontSize", t.FontSize},
            {"AlignTxt", t.AlignTxt},
            {"Angle", t.Angle},
            {"Flip", t.Flip},
            {"Points", Q(t.Points)}};
}

QJsonObject ImageJson(const TLabelImage& m, const TSheet& sheet) {
    return {{"FileName", Q(sheet.FileNameOf(m.BGIndex))},
            {"X", m.X},
            {"Y", m.Y},
            {"AlignH", m.AlignH},
            {"AlignV", m.AlignV},
            {"Fade", m.Fade},
            {"Angle", m.Angle},
            {"Flip", m.Flip},
            {"Scale", m.Scale},
            {"Filters", Q(m.Filters)}};
}

QJsonObject FaceJson(const TLabelFace& f, const TSheet& sheet) {
    QJsonArray texts, images;
    for (const auto& t : f.Texts) texts.append(TextJson(*t));
    for (const auto& m : f.Images) images.append(ImageJson(*m, sheet));
    return {{"BGColor", qint64(f.BGColor)},
            {"BGColorOn", f.BGColorOn},
            {"BCType", f.BCType},
            {"BCOutput", f.BCOutput},
            {"BCAlign", f.BCAlign},
            {"BCChSum", f.BCChSum},
            {"BCLeft", f.BCLeft},
            {"BCTop", f.BCTop},
            {"BCHeight", f.BCHeight},
            {"BCWidth", f.BCWidth},
            {"BCText", Q(f.BCText)},
            {"BCAngle", f.BCAngle},
            {"BCColor", qint64(f.BCColor)},
            {"texts", texts},
            {"images", images}};
}

QJsonObject LabelJson(const TSheetLabel& l, const TSheet& sheet) {
    QJsonArray faces;
    for (const auto& f : l.Faces) faces.append(FaceJson(*f, sheet));
    return {{"X", l.X},
            {"Y", l.Y},
            {"OLColor", qint64(l.OLColor)},
            {"OLShColor", qint64(l.OLShColor)},
            {"OLShadow", l.OLShadow},
            {"OLThick", l.OLThick},
            {"VisFr", l.VisFr},
            {"faces", faces}};
}

} // namespace

int CmdInfo(const QStringList& args) {
    if (args.size() != 1) return UsageError("info takes one FILE");
    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    TSheet sheet;
    const TLoaded r = Load(sheet, args[0], false);
    if (!r.Ok) return MessagesFailure(msgs, "Can't read " + args[0]);
    QJsonArray labels;
    for (const auto& l : sheet.Labels) labels.append(LabelJson(*l, sheet));
    QJsonObject root{{"header", HeaderJson(sheet.Header)},
                     {"settings", r.IsTemplate ? QJsonValue(QJsonValue::Null) : QJsonValue(SettingsJson(sheet.Settings))},
                     {"labels", labels}};
    const QByteArray out = QJsonDocument(root).toJson(QJsonDocument::Indented);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}

int CmdConvert(const QStringList& args) {
    if (args.size() != 2) return UsageError("convert takes IN and OUT.shl");
    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    TSheet sheet;
    if (!Load(sheet, args[0], true).Ok) return MessagesFailure(msgs, "Can't read " + args[0]);
    if (!sheet.SaveProject(S(QFileInfo(args[1]).absoluteFilePath()))) return MessagesFailure(msgs, "Can't write " + args[1]);
    return 0;
}

} // namespace tessora::cli

#pragma once
// The document of a label sheet: header, settings, labels and undo lists,
// with template loading and project files. Pictures and the vector outline
// are held by the owner (the sheet view) and reached through small interfaces.
#include "document/uSheetHeader.h"
#include "document/uSheetLabel.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace tessora {

// Finds or loads pictures by absolute file name; indices stay valid until Clear.
class TPictureStore {
public:
    virtual ~TPictureStore() = default;
    // -1 for an empty name, a missing file or one that cannot be read.
    virtual int FindOrLoad(const std::string& fileName) = 0;
    // Empty for an index that is not in the store.
    virtual std::string FileNameOf(int index) const = 0;
    virtual void ClearPictures() = 0;
};

// Loads the outline picture of vector-shaped sheets.
class TVectorOutline {
public:
    virtual ~TVectorOutline() = default;
    // false when the file cannot be decoded.
    virtual bool LoadVectorPicture(const std::string& fileName) = 0;
};

struct TLabelUndo {
    int32_t LabelIndex = 0;
    std::unique_ptr<TSheetLabel> Snapshot;
};

// One undo step: the snapshots it restores, highest label index first.
using TUndoStep = std::vector<TLabelUndo>;
// Undo or redo steps, newest first.
using TUndoSteps = std::deque<TUndoStep>;

class TSheetDocument {
public:
    TSheetDocument();
    virtual ~TSheetDocument() = default;
    TSheetDocument(const TSheetDocument&) = delete;
    TSheetDocument& operator=(const TSheetDocument&) = delete;

    TSheetHeader Header;
    TProjectSettings Settings;
    std::vector<std::unique_ptr<TSheetLabel>> Labels;
    TUndoSteps UndoList, RedoList;
    double ViewWidth = 0, ViewHeight = 0;
    // The selection the face accessor falls back to (index -1).
    int CurLabel = -1, CurFace = 0;

    TPictureStore* Pictures = nullptr;
    TVectorOutline* Vector = nullptr;

    TSheetLabel& Label(int i) { return *Labels.at(size_t(i)); }
    // Face f of label l; l = -1 gives the selected face.
    TLabelFace& Face(int l, int f);
    std::string ImageFileName(int label, int face, int image);

    void ClearLabels() { Labels.clear(); }
    void ClearImageCache();
    void ClearSheet();
    void ApplyPaperSize();
    void BuildGrid();

    // Template loading; messages as the program shows them.
    bool LoadTemplate(const std::string& fileName, bool redraw, bool forceMakerShape);
    void StartProjectSettings(const std::string& templateFileName);
    // Loads a template as a new project: settings initialised, OrderCode filled.
    bool StartNewProject(const std::string& templateFileName, int kind);

    bool SaveProject(const std::string& fileName);
    // One attempt: current layout with settings (s) or the older one without; r reports failure.
    bool OpenProject(const std::string& fileName, bool withSettings, bool report);
    // Both attempts in the callers' order, settings reset in between.
    bool OpenProjectFile(const std::string& fileName);

    void SetLabelVis(int label, bool vis);
    // Adds the picture at the front of the face of one label, or of all (label -1).
    void AddPicture(int label, int face, const std::string& fileName);

protected:
    // Drawing hooks of the view; the plain document draws nothing.
    virtual void RedrawOutlines() {}
    virtual void RedrawAll() {}
    virtual void RedrawLabel(int) {}
    virtual void RepaintView() {}

private:
    enum class THeaderResult { Ok, CannotOpen, Short, BadHeader, VectorMissing, VectorBad };
    THeaderResult LoadSheetHeader(const std::vector<uint8_t>& bytes, bool opened, bool forceMakerShape);
};

// Reads a whole file; false when it cannot be opened or read, or is larger than maxBytes.
bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& out, size_t maxBytes);
// Writes bytes to <name>.tmp and renames it over name; the old file survives a failure.
bool WriteFileAtomic(const std::string& fileName, const std::vector<uint8_t>& bytes);

} // namespace tessora

#pragma once
// TfrmEditText: the modal dialog in which a text object's text, font face, size, colour,
// bold and italic are typed and chosen. It changes nothing in the document; the caller
// reads the result after OK.
#include "document/uLabelText.h"

#include <QDialog>
#include <cstdint>
#include <string>

class QFontComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace tessora {

class TfrmEditText : public QDialog {
    Q_OBJECT
public:
    static constexpr int InitialWidth = 554, InitialHeight = 326;
    // Sizes the stored record can hold; the size edit keeps to them.
    static constexpr int MinFontSize = 1, MaxFontSize = 255;

    // mainWindow: the window the dialog opens centred on and the colour picker is placed
    // against (may be null).
    explicit TfrmEditText(QWidget* parent = nullptr, QWidget* mainWindow = nullptr);
    ~TfrmEditText() override;

    // The values of the text to edit; styleFlags as stored ("101": bold, not italic, underline).
    void Preset(const std::string& text, const std::string& fontName, const std::string& styleFlags,
                uint32_t color, int size);

    // ---- the result, read after OK
    // Lines separated by CR LF.
    std::string Text() const;
    std::string FontName() const { return EdFontName; }
    int FontSize() const { return EdFontSize; }
    // A colour as the document stores it; the window-text reference until a colour is picked.
    uint32_t FontColor() const { return EdFontColor; }
    TFontStyleSet Style() const { return EdStyle; }
    // "1"/"0" for bold, italic and underline.
    std::string StyleFlags() const;

    // ---- controls
    QFontComboBox* lstFontName = nullptr;
    QSpinBox* edtSize = nullptr;
    QLabel* shpColor2 = nullptr;
    QToolButton* btnCopy = nullptr;
    QToolButton* btnCut = nullptr;
    QToolButton* btnPaste = nullptr;
    QToolButton* btnBold = nullptr;
    QToolButton* btnItalic = nullptr;
    QPlainTextEdit* edtText = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    bool Loading = false;

    // A click on the swatch: the colour picker, modally.
    void shpColor2Click();
    // True when the editor shows a black background (white text).
    bool DarkBackground() const;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QWidget* MainWindow;
    std::string EdFontName = "Arial";
    int EdFontSize = 16;
    uint32_t EdFontColor;
    TFontStyleSet EdStyle;
    bool Centred = false;

    void ApplyEditorFont();
    void FillFontControls();
    void UpdateButtons();
    void FontChange();
    void ShowSwatch();
};

} // namespace tessora

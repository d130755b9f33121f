#include "params/fEditText.h"

#include "document/uCommon.h"
#include "params/fColorPicker.h"
#include "platform/uColor.h"

#include <QEvent>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace tessora {

namespace {

constexpr int kButtonWidth = 75; // OK, 5 pixels, Cancel: 155 pixels centred
constexpr int kBottomBand = 38;

// Painted glyphs for the clipboard buttons, so that they look the same on every desktop.
QIcon ClipGlyph(char kind) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    switch (kind) {
    case 'c': // copy: two sheets
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(2.5, 2.5, 8, 9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 5.5, 8, 9));
        break;
    case 'x': // cut: scissors
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(4, 2), QPointF(10.5, 10));
        p.drawLine(QPointF(12, 2), QPointF(5.5, 10));
        p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
        break;
    default: // paste: a clipboard with a sheet
        p.setBrush(QColor(190, 150, 90));
        p.drawRect(QRectF(2.5, 3.5, 10, 11));
        p.setBrush(QColor(120, 120, 120));
        p.drawRect(QRectF(5.5, 1.5, 4, 3));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 7.5, 7, 8));
        break;
    }
    return QIcon(pm);
}

QToolButton* GlyphButton(QWidget* parent, const char* name, const QString& hint, char glyph,
                         const QString& text = QString()) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    if (glyph)
        b->setIcon(ClipGlyph(glyph));
    else
        b->setText(text);
    b->setIconSize(QSize(16, 16));
    b->setMinimumSize(glyph ? 24 : 26, 26);
    return b;
}

} // namespace

TfrmEditText::TfrmEditText(QWidget* parent, QWidget* mainWindow)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      MainWindow(mainWindow), EdFontColor(clWindowText) {
    setObjectName("frmEditText");
    setWindowTitle("Add/Edit Text");
    setSizeGripEnabled(true);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(8, 8, 8, kBottomBand);
    all->setSpacing(6);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(4);
    bar->addWidget(new QLabel("Font Name:", this));
    lstFontName = new QFontComboBox(this);
    lstFontName->setObjectName("lstFontName");
    lstFontName->setMinimumWidth(110);
    lstFontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lstFontName->setMinimumContentsLength(6);
    bar->addWidget(lstFontName, 1);
    bar->addSpacing(4);
    bar->addWidget(new QLabel("Font Size:", this));
    edtSize = new QSpinBox(this);
    edtSize->setObjectName("edtSize");
    edtSize->setRange(MinFontSize, MaxFontSize);
    edtSize->setSingleStep(3);
    edtSize->setValue(EdFontSize);
    bar->addWidget(edtSize);
    bar->addSpacing(4);
    bar->addWidget(new QLabel("Color \nPicker:", this));
    shpColor2 = new QLabel(this);
    shpColor2->setObjectName("shpColor2");
    shpColor2->setFixedSize(24, 24);
    shpColor2->setCursor(Qt::PointingHandCursor);
    shpColor2->installEventFilter(this);
    bar->addWidget(shpColor2);
    bar->addSpacing(4);
    btnCopy = GlyphButton(this, "btnCopy", " Copy ", 'c');
    btnCut = GlyphButton(this, "btnCut", " Cut ", 'x');
    btnPaste = GlyphButton(this, "btnPaste", " Paste ", 'p');
    for (QToolButton* b : {btnCopy, btnCut, btnPaste})
        bar->addWidget(b);
    bar->addSpacing(4);
    btnBold = GlyphButton(this, "btnBold", " Bold ", 0, "B");
    btnItalic = GlyphButton(this, "btnItalic", " Italic ", 0, "I");
    QFont bf = btnBold->font();
    bf.setBold(true);
    btnBold->setFont(bf);
    QFont itf = btnItalic->font();
    itf.setItalic(true);
    btnItalic->setFont(itf);
    for (QToolButton* b : {btnBold, btnItalic}) {
        b->setCheckable(true);
        bar->addWidget(b);
    }
    all->addLayout(bar);

    edtText = new QPlainTextEdit(this);
    edtText->setObjectName("edtText");
    all->addWidget(edtText, 1);

    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnOK->setEnabled(false);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    for (QPushButton* b : {btnOK, btnCancel})
        b->setFixedWidth(kButtonWidth);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edtText, &QPlainTextEdit::textChanged, this, [this] { UpdateButtons(); });
    connect(edtText, &QPlainTextEdit::selectionChanged, this, [this] { UpdateButtons(); });
    connect(btnCopy, &QToolButton::clicked, edtText, &QPlainTextEdit::copy);
    connect(btnCut, &QToolButton::clicked, this, [this] {
        edtText->cut();
        UpdateButtons();
    });
    connect(btnPaste, &QToolButton::clicked, this, [this] {
        edtText->paste();
        UpdateButtons();
    });
    connect(btnBold, &QToolButton::toggled, this, [this](bool on) {
        if (Loading) return;
        EdStyle.Bold = on;
        ApplyEditorFont();
    });
    connect(btnItalic, &QToolButton::toggled, this, [this](bool on) {
        if (Loading) return;
        EdStyle.Italic = on;
        ApplyEditorFont();
    });
    connect(lstFontName, &QFontComboBox::currentFontChanged, this, [this] {
        if (Loading) return;
        EdFontName = lstFontName->currentFont().family().toStdString();
        FontChange();
    });
    connect(edtSize, &QSpinBox::valueChanged, this, [this] { FontChange(); });

    ApplyEditorFont();
    FillFontControls();
    UpdateButtons();
    resize(InitialWidth, InitialHeight);
}

TfrmEditText::~TfrmEditText() = default;

void TfrmEditText::Preset(const std::string& text, const std::string& fontName, const std::string& styleFlags,
                          uint32_t color, int size) {
    QString t = QString::fromStdString(text);
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    edtText->setPlainText(t);
    EdFontName = fontName;
    EdFontSize = std::clamp(size, MinFontSize, MaxFontSize);
    EdFontColor = color;
    auto flag = [&styleFlags](size_t i) { return styleFlags.size() > i && styleFlags[i] == '1'; };
    EdStyle = {flag(0), flag(1), flag(2)};
    ApplyEditorFont();
    FillFontControls();
    UpdateButtons();
}

std::string TfrmEditText::Text() const {
    QString t = edtText->toPlainText();
    t.replace('\n', "\r\n");
    return t.toStdString();
}

std::string TfrmEditText::StyleFlags() const {
    std::string s;
    for (bool b : {EdStyle.Bold, EdStyle.Italic, EdStyle.Underline})
        s += b ? '1' : '0';
    return s;
}

bool TfrmEditText::DarkBackground() const {
    return edtText->palette().color(QPalette::Base) == QColor(Qt::black);
}

void TfrmEditText::ApplyEditorFont() {
    QFont f(QString::fromStdString(EdFontName));
    // Points at 96 pixels per inch, as the editor of a 16-point text shows 21 pixels.
    f.setPixelSize(std::max(1, RoundHalfEven(EdFontSize * 96 / 72.0)));
    f.setBold(EdStyle.Bold);
    f.setItalic(EdStyle.Italic);
    f.setUnderline(EdStyle.Underline);
    edtText->setFont(f);
    // A white text gets a black background, so that it stays readable.
    const QColor ink = ToQColor(EdFontColor);
    QPalette pal = edtText->palette();
    pal.setColor(QPalette::Text, ink);
    pal.setColor(QPalette::Base, FromQColor(ink) == 0xFFFFFFu ? QColor(Qt::black) : QColor(Qt::white));
    edtText->setPalette(pal);
    ShowSwatch();
}

void TfrmEditText::ShowSwatch() {
    shpColor2->setStyleSheet(
        QString("QLabel { background: %1; border: 1px solid #808080; }").arg(ToQColor(EdFontColor).name()));
}

void TfrmEditText::FillFontControls() {
    Loading = true;
    lstFontName->setCurrentFont(QFont(QString::fromStdString(EdFontName)));
    edtSize->setValue(EdFontSize);
    ShowSwatch();
    btnBold->setChecked(EdStyle.Bold);
    btnItalic->setChecked(EdStyle.Italic);
    Loading = false;
}

void TfrmEditText::FontChange() {
    if (Loading) return;
    // The name comes from the combo only when it was changed there: a stored name such as
    // "Arial" may show as the family the system substitutes for it.
    EdFontSize = edtSize->value();
    ApplyEditorFont();
}

void TfrmEditText::UpdateButtons() {
    const bool sel = edtText->textCursor().hasSelection();
    btnCut->setEnabled(sel);
    btnCopy->setEnabled(sel);
    btnOK->setEnabled(!edtText->toPlainText().isEmpty());
}

void TfrmEditText::shpColor2Click() {
    TfrmColorPicker* picker = TfrmColorPicker::Instance();
    std::unique_ptr<TfrmColorPicker> own;
    if (!picker) {
        own = std::make_unique<TfrmColorPicker>(MainWindow);
        picker = own.get();
    }
    const QRect main = MainWindow ? MainWindow->geometry()
                                  : (screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768));
    // At the main window's top right, 10 pixels below its top: its own size first.
    if (!picker->testAttribute(Qt::WA_Resized)) picker->adjustSize();
    picker->move(main.left() + main.width() - picker->width(), main.top() + 10);
    QColor c;
    if (!picker->PickModal(ToQColor(EdFontColor), c)) return;
    EdFontColor = FromQColor(c);
    ApplyEditorFont();
}

bool TfrmEditText::eventFilter(QObject* o, QEvent* e) {
    if (o == shpColor2 && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        shpColor2Click();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void TfrmEditText::showEvent(QShowEvent* e) {
    if (!Centred && MainWindow) {
        Centred = true;
        move(MainWindow->geometry().center() - QPoint(width() / 2, height() / 2));
    }
    edtText->setFocus();
    FillFontControls();
    UpdateButtons();
    QDialog::showEvent(e);
}

void TfrmEditText::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    const int top = height() - kBottomBand + (kBottomBand - btnOK->sizeHint().height()) / 2;
    btnOK->move(RoundHalfEven((width() - 155) / 2.0), top);
    btnCancel->move(btnOK->x() + kButtonWidth + 5, top);
}

} // namespace tessora

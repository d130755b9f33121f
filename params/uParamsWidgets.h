#pragma once
// Small controls of the parameters window: ON/OFF check boxes, colour swatches and drop-down
// colour buttons. Colours are 0x00BBGGRR as in the document.
#include <QCheckBox>
#include <QFrame>
#include <QToolButton>
#include <cstdint>

namespace tessora {

// A check box whose caption is "ON" when checked and "OFF" when not; the caption follows
// every change, also one made with the signals blocked.
class TOnOffCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TOnOffCheckBox(QWidget* parent = nullptr);

protected:
    void checkStateSet() override;
    void nextCheckState() override;
};

// A swatch showing a colour that no other control shows; a click reports clicked().
class TColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit TColorSwatch(QWidget* parent = nullptr);
    uint32_t Color() const { return Value; }
    // Sets the colour without reporting a change.
    void SetColor(uint32_t c);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    uint32_t Value = 0;
};

// A drop-down colour button: a menu of standard colours and "More..." (the system's colour
// dialog). colorPicked() reports a colour the user chose; SetColor reports nothing.
class TColorButton : public QToolButton {
    Q_OBJECT
public:
    explicit TColorButton(QWidget* parent = nullptr);
    uint32_t Color() const { return Value; }
    void SetColor(uint32_t c);
    // What a user's choice does (also reached from tests).
    void Pick(uint32_t c);

Q_SIGNALS:
    void colorPicked(uint32_t color);

private:
    uint32_t Value = 0;
    void UpdateIcon();
};

} // namespace tessora

#include <QListWidget>

namespace tessora {

// A list whose items are reordered by drag and drop through its owner: a drop reports the
// dragged row and the row under the drop point and leaves the items to the owner.
class TDragOrderList : public QListWidget {
    Q_OBJECT
public:
    explicit TDragOrderList(QWidget* parent = nullptr);

Q_SIGNALS:
    void moveRequested(int from, int to);

protected:
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    bool OwnItems(const QDropEvent* e) const;
};

} // namespace tessora

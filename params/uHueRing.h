#pragma once
// THueRing: a hue ring around a saturation/lightness square. A press or drag on the ring
// sets the hue, in the square the saturation (left to right) and lightness (bottom to top).
#include <QColor>
#include <QImage>
#include <QWidget>

namespace tessora {

class THueRing : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 233;

    explicit THueRing(QWidget* parent = nullptr);

    // Takes a colour without emitting colorChanged. A grey keeps the hue the ring had.
    void SetColor(QColor color);
    // The colour last set or picked, as it was given (not rounded through HSL).
    QColor Color() const { return Current; }
    int Hue() const { return HueValue; }
    int Saturation() const { return Sat; }
    int Lightness() const { return Light; }

    // Where a hue sits on the ring (middle of its width) and where a saturation/lightness
    // pair sits in the square, in widget pixels.
    QPoint HuePoint(int hue) const;
    QPoint SquarePoint(int sat, int light) const;
    QRect SquareRect() const;
    // The hint for a point: "Hue: ..." on the ring, saturation, lightness and hex in the square,
    // empty elsewhere.
    QString HintAt(QPoint pos) const;

    QSize sizeHint() const override { return {kSize, kSize}; }

Q_SIGNALS:
    // The user moved the hue or the saturation/lightness point.
    void colorChanged(QColor color);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    enum TPart { partNone, partRing, partSquare };
    TPart PartAt(QPointF pos) const;
    int HueAt(QPointF pos) const;
    void SquareAt(QPointF pos, int& sat, int& light) const;
    void Pick(QPointF pos);
    void RenderRing();
    void RenderSquare();

    QColor Current = Qt::red;
    int HueValue = 0, Sat = 255, Light = 128;
    TPart Dragging = partNone;
    QImage RingImage;   // the ring alone, drawn once
    QImage SquareImage; // the square for SquareHue
    int SquareHue = -1;
};

} // namespace tessora

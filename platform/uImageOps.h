#pragma once
// Picture operations of label drawing: Lanczos-3 resampling, flips, smooth rotation,
// the image filters and the fade.
//
// Pictures are 32-bit QImages: Format_ARGB32_Premultiplied, or Format_RGB32 for an
// opaque one. A picture in any other format is converted first (to RGB32 when it has
// no alpha channel). Operations keep RGB32 opaque and keep premultiplied pixels valid
// (no colour above its alpha). A null picture is left as it is (or gives a null
// image); nothing here throws. All of it runs on the calling thread.
//
// A label image is drawn as: Scaled = ResampleLanczos3(Picture, FittedSize(...)) once,
// then on a copy of it every time: ApplyFlip, RotateSmooth with the face colour and
// CutToMiddle to the face, ApplyFilters with the image's filter list, ApplyFade.
#include "document/uFilterList.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <string_view>

namespace tessora {

// No operation makes a picture of more pixels than this (1 GiB of 32-bit pixels);
// asking for more gives a null image.
inline constexpr qint64 kMaxImagePixels = qint64(1) << 28;

// --- Size ----------------------------------------------------------------------

// The size a picture is resampled to so that it fits a face: when the face is
// relatively wider than the picture (W / pw > H / ph) the height becomes
// round(H * scale / 100) and the width follows the picture's aspect ratio; otherwise
// the width becomes round(W * scale / 100) and the height follows. Never below 1 x 1;
// an empty size when the picture or the face is empty or scale is not positive.
QSize FittedSize(QSize picture, QSize face, int scalePercent);

// --- Resampling ----------------------------------------------------------------

// Lanczos-3 resampling to exactly width x height, separable, with the kernel widened
// by the reduction factor when shrinking. RGB32 stays RGB32, other pictures come back
// ARGB32_Premultiplied. A constant picture stays exactly constant. Null for a null
// picture, a size below 1, or more than kMaxImagePixels.
QImage ResampleLanczos3(const QImage& picture, int width, int height);

// --- Flips and rotation ----------------------------------------------------------

void FlipHorizontal(QImage& picture); // left to right
void FlipVertical(QImage& picture);   // top to bottom
// An image's Flip value: 1 left to right, 2 top to bottom, anything else nothing.
void ApplyFlip(QImage& picture, int flip);

// Rotates by `degrees`, positive turning counter-clockwise as seen on screen (the way
// rotated text turns). The result is the bounding box of the turned picture; the
// corners it does not cover take `cornerFill`, and its edges are anti-aliased into that
// fill. Multiples of 90 degrees move pixels exactly. The result is RGB32 when the
// picture is RGB32 and the fill opaque, else ARGB32_Premultiplied. A non-finite angle
// leaves the picture unturned; null when the result would exceed kMaxImagePixels.
QImage RotateSmooth(const QImage& picture, double degrees, const QColor& cornerFill);

// A picture wider than maxWidth keeps maxWidth columns from g = round((width -
// maxWidth) / 2), halves to even; likewise rows for maxHeight. Smaller pictures are
// returned as they are; null when a limit is below 1.
QImage CutToMiddle(const QImage& picture, int maxWidth, int maxHeight);

// --- Filters ---------------------------------------------------------------------
// Colour filters work on the colour as seen (premultiplied pixels are unpremultiplied
// around the arithmetic); alpha is untouched except by Sharpen, Blur and the fade.

// Brightness b and contrast c in -150..150 (clamped), saturation s in -100..150:
// v' = (v - 128) * 2^(c / 50) + 128 + b per channel, then when s is not 0 each channel
// moves away from the grey level by (100 + s) / 100. 0, 0, 0 changes nothing.
void BrightnessContrast(QImage& picture, int brightness, int contrast, int saturation = 0);

// Laplacian sharpening: v' = v + (s / 10) * (n * v - sum of the n neighbours), with
// n 4 (left, right, up, down) or 8 (all around); edge pixels repeat. 0 changes nothing,
// negative intensities soften. The intensity is clamped to -1000..1000.
void Sharpen(QImage& picture, int intensity, int neighbourhood = 4);

// Gaussian blur whose standard deviation is `radius` pixels (clamped to 1000), made of
// three box passes per direction; edge pixels repeat. 0 or less changes nothing.
void Blur(QImage& picture, double radius);

// Grey level y = 0.299 R + 0.587 G + 0.114 B, rounded, in all three channels.
void ToGrey(QImage& picture);

// Each colour channel becomes 255 - v.
void Negative(QImage& picture);

// Fade in percent, clamped to 0..100: every alpha a becomes round((100 - fade) * a / 100)
// and the colour scales with it. 0 leaves the picture untouched; otherwise an RGB32
// picture becomes ARGB32_Premultiplied first. 100 makes every pixel fully transparent.
void ApplyFade(QImage& picture, int fade);

// --- Filter lists ----------------------------------------------------------------

// One filter of a list: brightness/contrast with saturation 0, sharpen with
// neighbourhood 4, blur, grey, negative. Other codes change nothing.
void ApplyFilter(QImage& picture, const TImageFilter& filter);
// Every filter of the list in order.
void ApplyFilters(QImage& picture, const TFilterList& filters);
// The same for an image's filter list text (see DecodeFilters for malformed texts).
void ApplyFilters(QImage& picture, std::string_view filterList);

} // namespace tessora

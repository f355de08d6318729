// One image held for the map, the saved pictures and the relief: loads every
// map image kind the program offers, hands the image out as a picture, takes
// one back, resizes, rotates and skews it, and saves it as JPEG or as a
// 24-bit Windows bitmap.  Every failure throws legacy::Error with a
// description the calling command shows in its message box.
#pragma once

#include <QImage>
#include <QString>

class ImagingObject {
public:
    // Save format codes the program uses.
    static constexpr int FormatJpeg = 1;
    static constexpr int FormatBmp = 6;

    // Skew directions.
    static constexpr int SkewHorizontal = 0;
    static constexpr int SkewVertical = 1;

    // Replaces the image by the file's.  Reads jpg, gif, bmp, png, tif, tga,
    // wbmp, ico, psd, pcx, wmf and emf, chosen by content with the file's
    // extension as a fallback.  On failure the held image is left unchanged.
    void load(const QString& path);

    // Replaces the image by a picture (a copy is kept).
    void takePicture(const QImage& picture);

    // Current size in pixels; 0 while no image is held.
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isEmpty() const { return m_image.isNull(); }

    // The current image, to be shown in an image control.
    QImage picture() const { return m_image; }

    // Writes the image: formatCode 1 is JPEG, 6 a Windows bitmap of 24 bits
    // per pixel.  The file is replaced only once it is completely written.
    void save(const QString& path, int formatCode, int bits = 24) const;

    // Resamples to newWidth pixels; the height follows in proportion.
    void resize(int newWidth);

    // Turns the image by the angle, clockwise for positive values.  The image
    // grows to hold the turned picture; uncovered corners get fillColor
    // (a 0x00BBGGRR or system colour number).
    void rotate(float degrees, long fillColor);

    // Shears the image by pixels.  Horizontal: the top edge moves right
    // (left for negative values) against the bottom edge; vertical: the left
    // edge moves down (up for negative values) against the right edge.  The
    // image grows by |pixels| in that direction; the uncovered area gets
    // fillColor.
    void skew(int direction, int pixels, long fillColor);

    // Accepted for the callers that set it; has no effect on the image.
    void setOption(int code, int value);

private:
    void requireImage() const;

    QImage m_image;
};

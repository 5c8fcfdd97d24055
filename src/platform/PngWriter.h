#pragma once

class QImage;
class QIODevice;
class QString;

// Writes an image as an 8-bit RGB PNG, tuned for drawn maps rather than
// for the smallest file: large flat areas, thin lines and some antialiased
// text. Every row is stored with the "up" filter (a row equal to the one
// above becomes zeros) and compressed at zlib's fastest level; that costs
// a fifth of the time of an adaptive filter choice at the default level,
// for files about a third larger. The pixels are exactly the image's
// (alpha is dropped: the pictures are opaque). False when the image is
// empty or the device refuses a write.
bool WritePng(const QImage& image, QIODevice& device);

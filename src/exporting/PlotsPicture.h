#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

// Pictures of the plots for a paper or a poster (File > Export picture...): the curve windows'
// section stacked with their element names over a millimetre axis, or the preview with its section
// frame; drawn as vectors where the program draws lines and text, and written as PNG, SVG or PDF.
namespace exporting {

// The picture is laid out this many units wide, whatever its size on paper or in pixels.
inline constexpr double kLayoutWidth = 1000;

struct CurvePanel {
    QString name;                // the element (or ratio) the window shows
    std::vector<double> values;  // one a section column, left to right; NaN: no value (a gap)
    double top = 1, bottom = 0;  // the value axis as the window's range boxes give it
};

struct BoundaryLine {
    double column;  // from the section's left end
    QColor colour;  // its level's colour
};

struct PlotsPicture {
    std::vector<CurvePanel> panels;
    std::vector<BoundaryLine> boundaries;
    QImage background;               // the section of the radiograph behind the curves (null: none)
    double leftMm = 0, rightMm = 0;  // the depths at the section's left and right ends
};

// The font of every text in the pictures, sized in layout units.
QFont layoutFont();

// The labelled depths of an axis from `fromMm` to `toMm` (either way round): a step of 1, 2 or 5
// times a power of ten, for about `about` labels.
std::vector<double> axisTicks(double fromMm, double toMm, int about = 10);

double plotsPictureHeight(const PlotsPicture& picture);  // in layout units, for kLayoutWidth
void paintPlotsPicture(QPainter& painter, const PlotsPicture& picture);

// The preview: the whole radiograph as rendered, the section frame over it (as fractions of its width).
struct PreviewPicture {
    QImage preview;
    double sectionLeft = 0, sectionRight = 1;
};
double previewPictureHeight(const PreviewPicture& picture);
void paintPreviewPicture(QPainter& painter, const PreviewPicture& picture);

enum class PictureFormat { Png, Svg, Pdf };
// By the file name's ending; nothing for another.
std::optional<PictureFormat> formatOfName(const QString& path);

// The picture's size as asked: a width in pixels, or in millimetres (PNG at 300 dots an inch).
struct PictureWidth {
    double value = 0;
    bool millimetres = false;
};

// Paints `paint` (in layout units, kLayoutWidth wide and `layoutHeight` high) into the file, whole or
// not at all (an earlier file of that name stays until the new one is complete). Throws
// core::FileError when it cannot be written.
void writePicture(const QString& path, PictureFormat format, PictureWidth width, double layoutHeight,
                  const std::function<void(QPainter&)>& paint);

}  // namespace exporting

#include "exporting/PlotsPicture.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

#include "core/Errors.h"

namespace exporting {

namespace {

constexpr double kPanelHeight = 140;
constexpr double kPanelGap = 8;
constexpr double kAxisHeight = 46;
constexpr double kTickLength = 8;
constexpr double kTextPoints = 13;  // in layout units
constexpr double kPngDotsPerMm = 300 / 25.4;
constexpr double kScreenDotsPerMm = 96 / 25.4;  // an SVG's pixels and a width in pixels for a PDF
// A PNG is drawn whole in memory first: past this many pixels (800 MB) SVG or PDF serve better.
constexpr double kMostPngPixels = 200e6;
const QColor kCurveColour(0, 160, 0);

// A text on a light box, readable over the radiograph.
void drawLabel(QPainter& painter, const QRectF& inside, Qt::Alignment alignment, const QString& text) {
    const QRectF box = painter.boundingRect(inside, static_cast<int>(alignment), text).adjusted(-4, 0, 4, 0);
    painter.fillRect(box, QColor(255, 255, 255, 210));
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, text);
}

void paintPanel(QPainter& painter, const CurvePanel& panel, const QImage& background, const QRectF& rect) {
    if (!background.isNull()) painter.drawImage(rect, background);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(rect);
    const double range = panel.top - panel.bottom;
    const std::size_t n = panel.values.size();
    if (n > 0 && range != 0 && std::isfinite(range)) {
        painter.save();
        painter.setClipRect(rect);
        QPainterPath path;
        bool drawing = false;
        for (std::size_t i = 0; i < n; ++i) {
            const double v = panel.values[i];
            if (!std::isfinite(v)) {
                drawing = false;  // a gap: the curve stops and starts again after it
                continue;
            }
            const QPointF at(
                rect.left() + (static_cast<double>(i) + 0.5) * rect.width() / static_cast<double>(n),
                rect.top() + (panel.top - v) / range * rect.height());
            drawing ? path.lineTo(at) : path.moveTo(at);
            drawing = true;
        }
        painter.setPen(QPen(kCurveColour, 1.2));
        painter.drawPath(path);
        painter.restore();
    }
    painter.setFont(layoutFont());
    const QRectF inside = rect.adjusted(6, 4, -6, -4);
    drawLabel(painter, inside, Qt::AlignLeft | Qt::AlignTop, panel.name);
    drawLabel(painter, inside, Qt::AlignRight | Qt::AlignTop, QString::number(panel.top));
    drawLabel(painter, inside, Qt::AlignRight | Qt::AlignBottom, QString::number(panel.bottom));
}

}  // namespace

QFont layoutFont() {
    QFont font;
    font.setPointSizeF(kTextPoints);
    return font;
}

std::vector<double> axisTicks(double fromMm, double toMm, int about) {
    std::vector<double> ticks;
    const double low = std::min(fromMm, toMm), high = std::max(fromMm, toMm);
    if (!std::isfinite(low) || !std::isfinite(high) || high <= low || about < 1) return ticks;
    const double rough = (high - low) / about;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= rough) break;
    }
    for (double t = std::ceil(low / step) * step; t <= high + step * 1e-9; t += step) ticks.push_back(t);
    return ticks;
}

double plotsPictureHeight(const PlotsPicture& picture) {
    const double panels = static_cast<double>(picture.panels.size());
    return panels * kPanelHeight + std::max(0.0, panels - 1) * kPanelGap + kAxisHeight;
}

void paintPlotsPicture(QPainter& painter, const PlotsPicture& picture) {
    painter.fillRect(QRectF(0, 0, kLayoutWidth, plotsPictureHeight(picture)), Qt::white);
    double top = 0;
    const double columns = picture.panels.empty() ? 0 : static_cast<double>(picture.panels[0].values.size());
    for (const CurvePanel& panel : picture.panels) {
        const QRectF rect(0, top, kLayoutWidth, kPanelHeight);
        paintPanel(painter, panel, picture.background, rect);
        for (const BoundaryLine& b : picture.boundaries) {
            if (columns <= 0) break;
            const double x = (b.column + 0.5) * kLayoutWidth / columns;
            painter.setPen(QPen(b.colour, 1.5));
            painter.drawLine(QPointF(x, rect.top()), QPointF(x, rect.bottom()));
        }
        top += kPanelHeight + kPanelGap;
    }
    // The millimetre axis under the last panel.
    const double axisTop = top - kPanelGap;
    painter.setPen(QPen(Qt::black, 1));
    painter.setFont(layoutFont());
    painter.drawLine(QPointF(0, axisTop), QPointF(kLayoutWidth, axisTop));
    const double span = picture.rightMm - picture.leftMm;
    for (const double mm : axisTicks(picture.leftMm, picture.rightMm)) {
        const double x = span == 0 ? 0 : (mm - picture.leftMm) / span * kLayoutWidth;
        painter.drawLine(QPointF(x, axisTop), QPointF(x, axisTop + kTickLength));
        const QRectF label(x - 60, axisTop + kTickLength, 120, kAxisHeight - kTickLength);
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, QString::number(mm));
    }
    painter.drawText(QRectF(0, axisTop, kLayoutWidth, kAxisHeight), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("mm"));
}

double previewPictureHeight(const PreviewPicture& picture) {
    if (picture.preview.isNull() || picture.preview.width() == 0) return kLayoutWidth / 10;
    return kLayoutWidth * picture.preview.height() / picture.preview.width();
}

void paintPreviewPicture(QPainter& painter, const PreviewPicture& picture) {
    const QRectF area(0, 0, kLayoutWidth, previewPictureHeight(picture));
    painter.fillRect(area, Qt::black);
    if (!picture.preview.isNull()) painter.drawImage(area, picture.preview);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawRect(QRectF(picture.sectionLeft * kLayoutWidth, 1,
                            (picture.sectionRight - picture.sectionLeft) * kLayoutWidth, area.height() - 2));
}

std::optional<PictureFormat> formatOfName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return PictureFormat::Png;
    if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf")) return PictureFormat::Pdf;
    return std::nullopt;
}

void writePicture(const QString& path, PictureFormat format, PictureWidth width, double layoutHeight,
                  const std::function<void(QPainter&)>& paint) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw core::FileError(core::kPermissionDenied, file.errorString().toStdString());
    const double aspect = layoutHeight / kLayoutWidth;
    const double pixels =
        width.millimetres ? width.value * (format == PictureFormat::Png ? kPngDotsPerMm : kScreenDotsPerMm)
                          : width.value;
    const double widthMm = width.millimetres ? width.value : width.value / kScreenDotsPerMm;
    bool painted = false;
    const auto paintScaled = [&](QPaintDevice& device, double deviceWidth) {
        QPainter painter(&device);
        if (!painter.isActive()) return;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(deviceWidth / kLayoutWidth, deviceWidth / kLayoutWidth);
        paint(painter);
        painted = painter.end();
    };
    if (format == PictureFormat::Png && pixels * pixels * aspect > kMostPngPixels) {
        throw core::FileError(
            core::kFileTooLarge,
            QStringLiteral("a PNG of %1 x %2 pixels would need %3 MB; save it as SVG or PDF, or "
                           "narrower")
                .arg(qRound(pixels))
                .arg(qRound(pixels * aspect))
                .arg(qRound(pixels * pixels * aspect * 4 / 1e6))
                .toStdString());
    }
    if (format == PictureFormat::Png) {
        QImage image(qRound(pixels), std::max(1, qRound(pixels * aspect)), QImage::Format_RGB32);
        if (image.isNull())
            throw core::FileError(core::kFileTooLarge, "the picture is too large to be drawn");
        image.fill(Qt::white);
        paintScaled(image, image.width());
        painted = painted && image.save(&file, "PNG");
    } else if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(QSize(qRound(pixels), qRound(pixels * aspect)));
        svg.setViewBox(QRectF(0, 0, pixels, pixels * aspect));
        svg.setResolution(qRound(kScreenDotsPerMm * 25.4));  // its width in mm as asked
        svg.setTitle(QStringLiteral("Stratalyser"));
        paintScaled(svg, pixels);
    } else {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QSizeF(widthMm, widthMm * aspect), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        paintScaled(pdf, pdf.width());
    }
    if (!painted || !file.commit())
        throw core::FileError(core::kPermissionDenied, file.errorString().isEmpty()
                                                           ? "the picture could not be written"
                                                           : file.errorString().toStdString());
}

}  // namespace exporting

// The drawing layer of engine/drawing.h on Qt 6 Gui: canvases are QImages
// of straight 32-bit ARGB pixels, shapes and antialiased text are drawn by
// QPainter, fonts are QFonts of the family fontconfig answers with.
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <optional>

#include "engine/drawing.h"
#include "qt/font_match.h"

namespace tarnwick {
namespace {

// Canvases claim 96 dots per inch, the resolution at which font points
// turn into pixels (engine/drawing.h, FontSpec).
constexpr int kDotsPerMeter = 3780;
constexpr int kMaxFontPoints = 12288;

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QRgb Pixel(Rgba c) { return qRgba(c.r, c.g, c.b, c.a); }

QColor Colour(Rgba c) { return QColor(c.r, c.g, c.b, c.a); }

int Clamp255(int v) { return std::clamp(v, 0, 255); }

bool SizeAllowed(int64_t width, int64_t height, int64_t limit) {
  return width > 0 && height > 0 && width * height <= limit;
}

class QtCanvas final : public Canvas {
 public:
  QtCanvas(QImage image, bool hasAlpha) : image_(std::move(image)), hasAlpha_(hasAlpha) {
    image_.setDotsPerMeterX(kDotsPerMeter);
    image_.setDotsPerMeterY(kDotsPerMeter);
  }

  QImage& image() { return image_; }
  const QImage& image() const { return image_; }

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  bool HasAlpha() const override { return hasAlpha_; }
  const uint8_t* Row(int y) const override { return image_.constScanLine(y); }

  void Fill(Rgba colour) override { image_.fill(Pixel(colour)); }

  void FillRect(double x, double y, double width, double height, Rgba colour) override {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(x, y, width, height).normalized(), Colour(colour));
  }

  void FillPolygon(std::span<const PointF> points, Rgba colour) override {
    QPolygonF polygon;
    for (const PointF& p : points) polygon << QPointF(p.x, p.y);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addPolygon(polygon);
    path.closeSubpath();
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, Colour(colour));
  }

  void DrawCanvas(const Canvas& source, int x, int y, int alpha, DrawMode mode) override {
    const QImage& src = static_cast<const QtCanvas&>(source).image();
    alpha = Clamp255(alpha);
    if (mode == DrawMode::Blend) {
      QPainter painter(&image_);
      painter.setOpacity(alpha / 255.0);
      painter.drawImage(x, y, src);
      return;
    }
    // Written pixel by pixel: QPainter's modes would pass the pixels through
    // premultiplied form and round away the colour of faint pixels.
    const QRect area = QRect(x, y, src.width(), src.height()).intersected(image_.rect());
    for (int ty = area.top(); ty <= area.bottom(); ++ty) {
      const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(ty - y));
      QRgb* out = reinterpret_cast<QRgb*>(image_.scanLine(ty));
      for (int tx = area.left(); tx <= area.right(); ++tx) {
        const QRgb s = in[tx - x];
        const int a = (qAlpha(s) * alpha + 127) / 255;
        if (mode == DrawMode::Grey) {
          const int grey = (77 * qRed(s) + 150 * qGreen(s) + 29 * qBlue(s)) >> 8;
          out[tx] = qRgba(grey, grey, grey, a);
        } else {
          out[tx] = qRgba(qRed(s), qGreen(s), qBlue(s), a);
        }
      }
    }
  }

 private:
  QImage image_;
  bool hasAlpha_;
};

std::unique_ptr<QtCanvas> NewCanvas(int width, int height) {
  if (!SizeAllowed(width, height, kMaxCanvasPixels)) return nullptr;
  QImage image(width, height, QImage::Format_ARGB32);
  if (image.isNull()) return nullptr;
  return std::make_unique<QtCanvas>(std::move(image), true);
}

class QtDrawingLayer final : public DrawingLayer {
 public:
  std::unique_ptr<Canvas> CreateCanvas(int width, int height, Rgba fill) override {
    std::unique_ptr<QtCanvas> canvas = NewCanvas(width, height);
    if (canvas != nullptr) canvas->Fill(fill);
    return canvas;
  }

  std::unique_ptr<Canvas> LoadPicture(const std::string& path) override {
    QImageReader reader(ToQt(path));
    reader.setAllocationLimit(static_cast<int>(kMaxPicturePixels * 4 / (1024 * 1024)));
    // The header's size decides before any pixel is decoded.
    const QSize size = reader.size();
    if (size.isValid() && !SizeAllowed(size.width(), size.height(), kMaxPicturePixels)) return nullptr;
    QImage picture = reader.read();
    if (picture.isNull() || !SizeAllowed(picture.width(), picture.height(), kMaxPicturePixels)) return nullptr;
    const bool hasAlpha = picture.hasAlphaChannel();
    QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull()) return nullptr;
    return std::make_unique<QtCanvas>(std::move(argb), hasAlpha);
  }

  bool LoadFont(const FontSpec& spec) override {
    ReleaseFont();
    if (spec.size < 1 || spec.size > kMaxFontPoints) return false;
    const std::optional<std::string> family = MatchFontFamily(spec.family);
    if (!family) return false;
    QFont font(ToQt(*family));
    font.setPixelSize(static_cast<int>(std::lround(spec.size * 96.0 / 72.0)));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    // Qt must draw with the very family fontconfig answered with, not a
    // substitute of its own.
    if (QFontInfo(font).family().compare(ToQt(*family), Qt::CaseInsensitive) != 0) return false;
    raster_ = font;
    raster_->setStyleStrategy(QFont::NoAntialias);
    vector_ = font;
    vector_->setStyleStrategy(QFont::PreferAntialias);
    family_ = *family;
    return true;
  }

  void ReleaseFont() override {
    raster_.reset();
    vector_.reset();
    family_.clear();
  }

  bool HasFont() const override { return raster_.has_value(); }
  std::string FontFamily() const override { return family_; }

  TextSize MeasureText(const std::string& text) const override {
    if (!raster_) return {};
    const QFontMetrics metrics(*raster_);
    return {metrics.horizontalAdvance(ToQt(text)), metrics.height()};
  }

  double VectorTextWidth(const std::string& text) const override {
    if (!vector_) return 0;
    return QFontMetricsF(*vector_).horizontalAdvance(ToQt(text));
  }

  void DrawText(Canvas& target, const std::string& text, int x, int y, Rgba front, Rgba back,
                bool antialiased) const override {
    if (!raster_) return;
    QImage& image = static_cast<QtCanvas&>(target).image();
    const QString line = ToQt(text);
    if (antialiased) {
      QPainter painter(&image);
      painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
      painter.setFont(*vector_);
      painter.setPen(Colour(front));
      painter.drawText(QPointF(x, y + QFontMetricsF(*vector_).ascent()), line);
      return;
    }
    const QFontMetrics metrics(*raster_);
    const QRect box = QRect(x, y, metrics.horizontalAdvance(line), metrics.height()).intersected(image.rect());
    for (int ty = box.top(); ty <= box.bottom(); ++ty) {
      QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(ty));
      std::fill(out + box.left(), out + box.right() + 1, Pixel(back));
    }
    // The glyphs go to a mask first, unsmoothed, then their pixels are
    // written with the front colour, alpha included. The mask reaches a
    // line height beyond the box on every side for overhanging glyphs.
    const int reach = metrics.height();
    const QRect area =
        QRect(x - reach, y - reach, metrics.horizontalAdvance(line) + 2 * reach, 3 * reach).intersected(image.rect());
    if (area.isEmpty()) return;
    QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull()) return;
    mask.fill(Qt::transparent);
    {
      QPainter painter(&mask);
      painter.setRenderHint(QPainter::Antialiasing, false);
      painter.setRenderHint(QPainter::TextAntialiasing, false);
      painter.setFont(*raster_);
      painter.setPen(Qt::white);
      painter.drawText(QPoint(x - area.left(), y - area.top() + metrics.ascent()), line);
    }
    for (int my = 0; my < mask.height(); ++my) {
      const QRgb* in = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
      QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(area.top() + my)) + area.left();
      for (int mx = 0; mx < mask.width(); ++mx)
        if (qAlpha(in[mx]) >= 128) out[mx] = Pixel(front);
    }
  }

 private:
  std::optional<QFont> raster_;
  std::optional<QFont> vector_;
  std::string family_;
};

// Qt's own notes (such as QStandardPaths' about XDG_RUNTIME_DIR) would
// break into the console's described output; only its errors are shown.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// A console or engine run has no application object yet: make one on the
// offscreen platform, so that text can be drawn without any display. The
// platform is given on the command line, which outranks QT_QPA_PLATFORM.
bool EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr)
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
  // Without its platform plugin QGuiApplication would end the process;
  // then there is no drawing layer instead.
  bool found = false;
  for (const QString& folder : QCoreApplication::libraryPaths())
    found = found || QFileInfo::exists(folder + QStringLiteral("/platforms/libqoffscreen.so"));
  if (!found) return false;
  static int argc = 3;
  static char name[] = "tarnwick", option[] = "-platform", platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  // QCoreApplication adopts the environment's locale; the engine's number
  // formatting must keep the one it had.
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  qInstallMessageHandler(QuietMessages);
  new QGuiApplication(argc, argv);  // kept for the life of the process
  std::setlocale(LC_ALL, locale.c_str());
  return true;
}

}  // namespace
}  // namespace tarnwick

extern "C" __attribute__((visibility("default"))) tarnwick::DrawingLayer* TarnwickDrawingLayer(int abiVersion) {
  if (abiVersion != tarnwick::kDrawingAbiVersion) return nullptr;
  if (!tarnwick::EnsureGuiApplication()) return nullptr;
  static auto* layer = new tarnwick::QtDrawingLayer;  // lives until the process ends
  return layer;
}

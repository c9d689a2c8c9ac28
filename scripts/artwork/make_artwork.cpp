// SPDX-License-Identifier: MIT
// Draws the window's artwork: the background picture (at 1x and 2x, and as
// an SVG) and the light-bulb icon in every size the programs, the desktop
// and the installed web page need.
//
//   make_artwork OUT_DIR          writes the files into OUT_DIR
//   make_artwork --check DIR      redraws them and compares with DIR's files
//
// Besides the PNGs, tressin.ico is the Windows program's icon: the 16 x 16
// and 32 x 32 bulbs in 16 colours, and larger true-colour ones.
//
// Everything is drawn from code with fixed fonts, sizes and colours, so the
// output is the same on every run with the same fonts installed.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QTransform>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QBuffer>
#include <QFile>
#include <QStringList>
#include <QtMath>
#include <cstdio>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

// Black with large dark-grey lettering in rows that climb about 20 degrees:
// the 598 x 259 picture, drawn at `scale` device pixels per pixel.
QImage Background(int scale) {
  QImage image(598 * scale, 259 * scale, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  p.scale(scale, scale);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(44);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(41, 40, 41));
  p.translate(598 / 2.0, 259 / 2.0);
  p.rotate(-20);
  const QString words = QStringLiteral("電力  POWER  ワット  ");
  const QString line = words.repeated(6);
  const int row_height = 62;
  for (int row = -5; row <= 5; ++row) {
    const int shift = (row % 2 == 0) ? 0 : 90;  // stagger the rows
    p.drawText(QPointF(-700 - shift, row * row_height), line);
  }
  return image;
}

// Path data for SVG, in units rounded to a tenth.
QByteArray SvgPath(const QPainterPath& path) {
  QByteArray d;
  const auto number = [&d](double v) {
    const long tenths = std::lround(v * 10);
    if (!d.isEmpty() && tenths >= 0 && d.back() != 'M' && d.back() != 'L' && d.back() != 'C') d.append(' ');
    d.append(QByteArray::number(static_cast<double>(tenths) / 10, 'g', 8));
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.type == QPainterPath::MoveToElement) d.append('M');
    else if (e.type == QPainterPath::LineToElement) d.append('L');
    else if (e.type == QPainterPath::CurveToElement) d.append('C');
    number(e.x);
    number(e.y);
  }
  return d;
}

// The same picture as Background, as an SVG of the part the window shows:
// sharp at any scale, for screens of more than one pixel per pixel. The
// lettering is in outlines, so no font is needed to show it.
QByteArray BackgroundSvg() {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(44);
  font.setBold(true);
  const QString words = QStringLiteral("電力  POWER  ワット  ");
  QPainterPath outline;
  outline.addText(0, 0, font, words);
  const double advance = QFontMetricsF(font).horizontalAdvance(words);
  QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                   "viewBox=\"0 0 412 203\" width=\"412\" height=\"203\">"
                   "<rect width=\"412\" height=\"203\"/><defs><path id=\"w\" d=\"";
  svg.append(SvgPath(outline));
  svg.append("\"/></defs><g fill=\"#292829\" transform=\"translate(299 129.5) rotate(-20)\">");
  // Only the repeats that reach the visible part.
  const QTransform placed = QTransform().translate(299, 129.5).rotate(-20);
  for (int row = -5; row <= 5; ++row) {
    const int shift = (row % 2 == 0) ? 0 : 90;
    for (int k = 0; k < 6; ++k) {
      const QPointF at(-700 - shift + k * advance, row * 62);
      const QRectF box = placed.mapRect(outline.boundingRect().translated(at));
      if (!box.intersects(QRectF(0, 0, 412, 203))) continue;
      svg.append("<use xlink:href=\"#w\" x=\"" + QByteArray::number(at.x(), 'f', 1) + "\" y=\"" +
                 QByteArray::number(at.y(), 'f', 0) + "\"/>");
    }
  }
  svg.append("</g></svg>\n");
  return svg;
}

// Straight 8-bit alpha from 16-bit premultiplied, rounded to nearest in
// integers. Qt's own conversions to straight alpha divide with an
// approximate reciprocal whose last bit differs between processors, so the
// icons would too; 16 bits keep the glow's colour as smooth as it is drawn.
QImage Unpremultiplied(const QImage& premultiplied) {
  QImage image(premultiplied.size(), QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgba64*>(premultiplied.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const qint64 a = from[x].alpha();
      const auto straight = [a](qint64 c) { return static_cast<int>(std::min<qint64>(255, (c * 510 + a) / (2 * a))); };
      const int alpha = static_cast<int>((a * 255 + 32767) / 65535);
      to[x] = alpha == 0 ? 0 : qRgba(straight(from[x].red()), straight(from[x].green()), straight(from[x].blue()), alpha);
    }
  }
  return image;
}

// The bulb's glass, globe and neck, on its 32-unit grid.
QPainterPath GlassOutline() {
  QPainterPath globe;
  globe.addEllipse(QPointF(16, 13), 8, 8);
  QPainterPath neck;
  neck.moveTo(11.5, 17.5);
  neck.lineTo(20.5, 17.5);
  neck.lineTo(19.5, 22);
  neck.lineTo(12.5, 22);
  neck.closeSubpath();
  return globe.united(neck);
}

// A glowing yellow bulb with short rays, drawn on a 32-unit grid `size`
// pixels square.
void PaintBulb(QPainter& p, int size) {
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  const QPointF centre(16, 13);

  QRadialGradient glow(centre, 15);
  glow.setColorAt(0.0, QColor(255, 255, 160, 200));
  glow.setColorAt(1.0, QColor(255, 255, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(centre, 15, 15);

  p.setPen(QPen(QColor(255, 220, 0), 2, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 8; ++i) {
    const double a = qDegreesToRadians(-90.0 + 45.0 * i);
    if (i >= 3 && i <= 5) continue;  // no rays through the screw base
    p.drawLine(centre + QPointF(11 * qCos(a), 11 * qSin(a)), centre + QPointF(14.5 * qCos(a), 14.5 * qSin(a)));
  }

  // The highlight's centre falls on no pixel's centre at any size drawn:
  // Qt 6.8 leaves the pixel there empty.
  QRadialGradient fill(QPointF(13.45, 10.45), 10);
  fill.setColorAt(0.0, QColor(255, 255, 255));
  fill.setColorAt(0.35, QColor(255, 255, 0));
  fill.setColorAt(1.0, QColor(230, 190, 0));
  p.setBrush(fill);
  p.setPen(QPen(QColor(128, 128, 0), 1));
  p.drawPath(GlassOutline());

  QLinearGradient metal(12, 0, 20, 0);
  metal.setColorAt(0.0, QColor(128, 128, 128));
  metal.setColorAt(0.5, QColor(220, 220, 220));
  metal.setColorAt(1.0, QColor(110, 110, 110));
  p.setBrush(metal);
  p.setPen(QPen(QColor(64, 64, 64), 0.8));
  p.drawRoundedRect(QRectF(12.5, 22, 7, 6), 1, 1);
  p.drawLine(QPointF(12.5, 24), QPointF(19.5, 24));
  p.drawLine(QPointF(12.5, 26), QPointF(19.5, 26));
  p.setBrush(QColor(64, 64, 64));
  p.drawEllipse(QRectF(14.5, 28, 3, 2));
}

// The same bulb as PaintBulb draws, as an SVG on its 32-unit grid: the
// scalable icon of the desktop's icon theme.
QByteArray BulbSvg() {
  const auto n = [](double v) { return QByteArray::number(std::lround(v * 100) / 100.0, 'g', 8); };
  QByteArray svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 32 32\" width=\"32\" height=\"32\"><defs>"
      "<radialGradient id=\"glow\" gradientUnits=\"userSpaceOnUse\" cx=\"16\" cy=\"13\" r=\"15\">"
      "<stop offset=\"0\" stop-color=\"#ffffa0\" stop-opacity=\"0.784\"/>"
      "<stop offset=\"1\" stop-color=\"#ffff00\" stop-opacity=\"0\"/></radialGradient>"
      "<radialGradient id=\"fill\" gradientUnits=\"userSpaceOnUse\" cx=\"13.45\" cy=\"10.45\" r=\"10\">"
      "<stop offset=\"0\" stop-color=\"#ffffff\"/><stop offset=\"0.35\" stop-color=\"#ffff00\"/>"
      "<stop offset=\"1\" stop-color=\"#e6be00\"/></radialGradient>"
      "<linearGradient id=\"metal\" gradientUnits=\"userSpaceOnUse\" x1=\"12\" y1=\"0\" x2=\"20\" y2=\"0\">"
      "<stop offset=\"0\" stop-color=\"#808080\"/><stop offset=\"0.5\" stop-color=\"#dcdcdc\"/>"
      "<stop offset=\"1\" stop-color=\"#6e6e6e\"/></linearGradient></defs>"
      "<circle cx=\"16\" cy=\"13\" r=\"15\" fill=\"url(#glow)\"/>"
      "<g stroke=\"#ffdc00\" stroke-width=\"2\" stroke-linecap=\"round\">";
  for (int i = 0; i < 8; ++i) {
    if (i >= 3 && i <= 5) continue;  // no rays through the screw base
    const double a = qDegreesToRadians(-90.0 + 45.0 * i);
    svg.append("<line x1=\"" + n(16 + 11 * qCos(a)) + "\" y1=\"" + n(13 + 11 * qSin(a)) + "\" x2=\"" +
               n(16 + 14.5 * qCos(a)) + "\" y2=\"" + n(13 + 14.5 * qSin(a)) + "\"/>");
  }
  svg.append("</g><path d=\"" + SvgPath(GlassOutline()) + "Z\" fill=\"url(#fill)\" stroke=\"#808000\"/>"
             "<g stroke=\"#404040\" stroke-width=\"0.8\">"
             "<rect x=\"12.5\" y=\"22\" width=\"7\" height=\"6\" rx=\"1\" fill=\"url(#metal)\"/>"
             "<path d=\"M12.5 24H19.5M12.5 26H19.5\"/>"
             "<ellipse cx=\"16\" cy=\"29\" rx=\"1.5\" ry=\"1\" fill=\"#404040\"/></g></svg>\n");
  return svg;
}

// The bulb on transparency, painted in a premultiplied format, where the
// raster engine converts nothing, then made straight by Unpremultiplied.
QImage Bulb(int size) {
  QImage image(size, size, QImage::Format_RGBA64_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  PaintBulb(p, size);
  p.end();
  return Unpremultiplied(image);
}

// The bulb painted straight onto the window's colour (opaque: nothing to
// convert), `bulb` pixels square in the middle of `size`.
QImage OpaqueBulb(int size, int bulb) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(QColor(1, 0, 66));
  QPainter p(&image);
  p.translate((size - bulb) / 2, (size - bulb) / 2);
  PaintBulb(p, bulb);
  return image;
}

// For a home screen that cuts icons to its own shape: the window's colour
// to the edges, the bulb inside the middle 60 %, which every shape keeps.
QImage MaskableBulb(int size) { return OpaqueBulb(size, size * 6 / 10); }

// The part of the picture the 412 x 203 window shows (it is drawn unscaled
// from the top-left corner), in an exact palette of the colours it uses:
// the same pixels, far cheaper to decode at start-up than 24-bit colour.
QImage VisiblePart(int scale) {
  const QImage part = Background(scale).copy(0, 0, 412 * scale, 203 * scale);
  QList<QRgb> table;
  for (int y = 0; y < part.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(part.constScanLine(y));
    for (int x = 0; x < part.width(); ++x) {
      if (!table.contains(line[x])) table.push_back(line[x]);
    }
  }
  if (table.size() > 256) qFatal("the background uses %lld colours, more than a palette holds",
                                 static_cast<long long>(table.size()));
  std::sort(table.begin(), table.end());
  QImage indexed = part.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither | Qt::AvoidDither);
  indexed.setDotsPerMeterX(3780 * scale);  // 96 dpi at 1x
  indexed.setDotsPerMeterY(3780 * scale);
  return indexed;
}

// The classic 16-colour palette, with black's slot given to transparency
// for the icon's mask.
QImage SixteenColours(const QImage& image) {
  const QList<QRgb> table{qRgba(0, 0, 0, 0), qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
                          qRgb(0, 0, 128),   qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192),
                          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),     qRgb(255, 255, 0),
                          qRgb(0, 0, 255),   qRgb(255, 0, 255),   qRgb(64, 64, 64),    qRgb(255, 255, 255)};
  // Flatten the glow onto the nearest opaque colour or transparency first,
  // so the mask is crisp.
  QImage flat = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < flat.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(flat.scanLine(y));
    for (int x = 0; x < flat.width(); ++x) {
      line[x] = qAlpha(line[x]) < 96 ? qRgba(0, 0, 0, 0) : qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
  }
  return flat.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither | Qt::AvoidDither);
}

void Put16(QByteArray& out, int v) {
  out.append(static_cast<char>(v & 0xff));
  out.append(static_cast<char>((v >> 8) & 0xff));
}
void Put32(QByteArray& out, qint64 v) {
  Put16(out, static_cast<int>(v & 0xffff));
  Put16(out, static_cast<int>((v >> 16) & 0xffff));
}

// One icon image as Windows stores it: a bitmap header with twice the
// height, the colours bottom-up, then the 1-bit transparency mask.
// 16-colour images take index 0 as transparent; others are 32-bit with alpha.
QByteArray IconBitmap(const QImage& image) {
  const bool indexed = image.format() == QImage::Format_Indexed8;
  const int w = image.width(), h = image.height(), bpp = indexed ? 4 : 32;
  QByteArray out;
  Put32(out, 40);
  Put32(out, w);
  Put32(out, 2 * h);
  Put16(out, 1);
  Put16(out, bpp);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  if (indexed) {
    for (int i = 0; i < 16; ++i) {
      const QRgb c = i < image.colorCount() ? image.color(i) : 0;
      out.append(static_cast<char>(qBlue(c))).append(static_cast<char>(qGreen(c))).append(static_cast<char>(qRed(c)));
      out.append('\0');
    }
  }
  const int colour_stride = ((w * bpp + 31) / 32) * 4, mask_stride = ((w + 31) / 32) * 4;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = h - 1; y >= 0; --y) {
    QByteArray line(colour_stride, '\0');
    for (int x = 0; x < w; ++x) {
      if (indexed) {
        const int index = image.pixelIndex(x, y);
        line[x / 2] = static_cast<char>(line[x / 2] | (x % 2 == 0 ? index << 4 : index));
      } else {
        const QRgb c = argb.pixel(x, y);
        line[4 * x] = static_cast<char>(qBlue(c));
        line[4 * x + 1] = static_cast<char>(qGreen(c));
        line[4 * x + 2] = static_cast<char>(qRed(c));
        line[4 * x + 3] = static_cast<char>(qAlpha(c));
      }
    }
    out.append(line);
  }
  for (int y = h - 1; y >= 0; --y) {
    QByteArray line(mask_stride, '\0');
    for (int x = 0; x < w; ++x) {
      const bool clear = indexed ? image.pixelIndex(x, y) == 0 : qAlpha(argb.pixel(x, y)) == 0;
      if (clear) line[x / 8] = static_cast<char>(line[x / 8] | (0x80 >> (x % 8)));
    }
    out.append(line);
  }
  return out;
}

// An .ico file: the 16-colour 16 and 32 pixel bulbs, a 32-bit 48 pixel one
// and a 256 pixel one stored as PNG, as Windows reads them.
QByteArray IconFile() {
  std::vector<std::pair<int, QByteArray>> images;
  for (int size : {16, 32}) images.emplace_back(16, IconBitmap(SixteenColours(Bulb(size))));
  images.emplace_back(0, IconBitmap(Bulb(48)));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  Bulb(256).save(&buffer, "PNG");
  images.emplace_back(0, png);
  const int sizes[] = {16, 32, 48, 256};
  QByteArray out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<int>(images.size()));
  qint64 offset = 6 + 16 * static_cast<qint64>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = sizes[i];
    out.append(static_cast<char>(size == 256 ? 0 : size)).append(static_cast<char>(size == 256 ? 0 : size));
    out.append(static_cast<char>(images[i].first)).append('\0');
    Put16(out, 1);
    Put16(out, images[i].first == 16 ? 4 : 32);
    Put32(out, images[i].second.size());
    Put32(out, offset);
    offset += images[i].second.size();
  }
  for (const auto& image : images) out.append(image.second);
  return out;
}

std::map<QString, QImage> AllArtwork() {
  std::map<QString, QImage> art;
  art[QStringLiteral("background.png")] = VisiblePart(1);
  art[QStringLiteral("background@2x.png")] = VisiblePart(2);
  art[QStringLiteral("icon-16.png")] = SixteenColours(Bulb(16));
  art[QStringLiteral("icon-32.png")] = SixteenColours(Bulb(32));
  art[QStringLiteral("icon-48.png")] = Bulb(48);
  art[QStringLiteral("icon-128.png")] = Bulb(128);
  art[QStringLiteral("icon-256.png")] = Bulb(256);
  // The web page installed from a web host.
  art[QStringLiteral("icon-192.png")] = Bulb(192);
  art[QStringLiteral("icon-512.png")] = Bulb(512);
  art[QStringLiteral("icon-maskable-512.png")] = MaskableBulb(512);
  // On the window's colour, for systems that put no background of their own
  // behind an icon (the iPad's home screen).
  art[QStringLiteral("apple-touch-icon.png")] = OpaqueBulb(180, 180);
  return art;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  const bool check = args.size() == 3 && args[1] == QStringLiteral("--check");
  if (args.size() != 2 && !check) {
    std::fprintf(stderr, "usage: make_artwork OUT_DIR | make_artwork --check DIR\n");
    return 2;
  }
  const QDir dir(args.last());
  int differing = 0;
  for (const auto& [name, image] : AllArtwork()) {
    const QString path = dir.filePath(name);
    if (check) {
      const QImage stored(path);
      if (stored.convertToFormat(QImage::Format_ARGB32) != image.convertToFormat(QImage::Format_ARGB32)) {
        std::fprintf(stderr, "%s differs from what the generator draws\n", qPrintable(path));
        ++differing;
      }
    } else if (!image.save(path)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  const std::pair<QString, QByteArray> files[] = {{QStringLiteral("tressin.ico"), IconFile()},
                                                   {QStringLiteral("background.svg"), BackgroundSvg()},
                                                   {QStringLiteral("icon.svg"), BulbSvg()}};
  for (const auto& [name, bytes] : files) {
    const QString path = dir.filePath(name);
    if (check) {
      QFile stored(path);
      if (!stored.open(QIODevice::ReadOnly) || stored.readAll() != bytes) {
        std::fprintf(stderr, "%s differs from what the generator draws\n", qPrintable(path));
        ++differing;
      }
    } else {
      QFile out(path);
      if (!out.open(QIODevice::WriteOnly) || out.write(bytes) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
      }
    }
  }
  return differing == 0 ? 0 : 1;
}

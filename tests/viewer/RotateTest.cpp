// RotateBitmapInPlace and the parallelogram draw under it: result sizes and
// corner points, every pixel of quarter and half turns, clipping, the
// background, other angles against a plain reference, and the settings a
// turned bitmap keeps.
#include <QTest>
#include <cmath>
#include <numbers>

#include "Unit1.h"

namespace {

constexpr float HalfPi = static_cast<float>(std::numbers::pi / 2);
constexpr float Pi = static_cast<float>(std::numbers::pi);
constexpr QRgb Background = 0xFF102030;

// Every pixel different: x in the high bits, y in the low ones.
QRgb Marker(int X, int Y) { return 0xFF000000u | static_cast<QRgb>(X) << 12 | static_cast<QRgb>(Y); }

TBitmap MarkedBitmap(int Width, int Height, QImage::Format Format = QImage::Format_RGB32) {
  TBitmap Bitmap;
  Bitmap.Picture = QImage(Width, Height, Format);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) Bitmap.Picture.setPixel(X, Y, Marker(X, Y));
  return Bitmap;
}

// Reference: the source pixel under the centre of target pixel (X, Y), found
// by inverting the corner map in double precision; -1 outside the source,
// and -2 when the centre lies too close to a source pixel's edge for the
// answer to be certain.
int64_t ReferenceSource(const TRotationGeometry& G, int W, int H, int X, int Y) {
  const double AX = double(G.P1.X - G.P0.X) / W, AY = double(G.P1.Y - G.P0.Y) / W;
  const double BX = double(G.P2.X - G.P0.X) / H, BY = double(G.P2.Y - G.P0.Y) / H;
  const double Det = AX * BY - BX * AY;
  const double DX = X + 0.5 - double(G.P0.X), DY = Y + 0.5 - double(G.P0.Y);
  const double U = (BY * DX - BX * DY) / Det, V = (AX * DY - AY * DX) / Det;
  const auto NearEdge = [](double T) { return std::fabs(T - std::round(T)) < 1e-6; };
  if (NearEdge(U) || NearEdge(V)) return -2;
  if (U < 0 || V < 0 || U >= W || V >= H) return -1;
  return int64_t(std::floor(V)) * W + int64_t(std::floor(U));
}

}  // namespace

class RotateTest : public QObject {
  Q_OBJECT

 private slots:
  void geometry_data();
  void geometry();
  void quarterAndHalfTurns_data();
  void quarterAndHalfTurns();
  void clippedQuarterTurn();
  void otherAngles_data();
  void otherAngles();
  void keepsTransparencySettings();
  void keepsAlpha();
  void orientationAngles_data();
  void orientationAngles();
};

void RotateTest::geometry_data() {
  QTest::addColumn<int>("W");
  QTest::addColumn<int>("H");
  QTest::addColumn<float>("Angle");
  QTest::addColumn<bool>("Enlarge");
  QTest::addColumn<QSize>("Size");
  QTest::addColumn<QPoint>("P0");
  QTest::addColumn<QPoint>("P1");
  QTest::addColumn<QPoint>("P2");
  QTest::newRow("640x480 quarter turn clockwise")
      << 640 << 480 << HalfPi << true << QSize(480, 640) << QPoint(480, 0) << QPoint(480, 640) << QPoint(0, 0);
  QTest::newRow("640x480 half turn")
      << 640 << 480 << Pi << true << QSize(640, 480) << QPoint(640, 480) << QPoint(0, 480) << QPoint(640, 0);
  QTest::newRow("640x480 quarter turn counter-clockwise")
      << 640 << 480 << -HalfPi << true << QSize(480, 640) << QPoint(0, 640) << QPoint(0, 0) << QPoint(480, 640);
  QTest::newRow("100x50 by pi/6")
      << 100 << 50 << float(std::numbers::pi / 6) << true << QSize(112, 93) << QPoint(25, 0)
      << QPoint(112, 50) << QPoint(0, 43);
  QTest::newRow("100x50 quarter turn clipped")
      << 100 << 50 << HalfPi << false << QSize(100, 50) << QPoint(75, -25) << QPoint(75, 75) << QPoint(25, -25);
  QTest::newRow("no turn") << 7 << 5 << 0.0f << true << QSize(7, 5) << QPoint(0, 0) << QPoint(7, 0) << QPoint(0, 5);
  QTest::newRow("6000x4000 quarter turn")
      << 6000 << 4000 << HalfPi << true << QSize(4000, 6000) << QPoint(4000, 0) << QPoint(4000, 6000) << QPoint(0, 0);
}

void RotateTest::geometry() {
  QFETCH(int, W);
  QFETCH(int, H);
  QFETCH(float, Angle);
  QFETCH(bool, Enlarge);
  QFETCH(QSize, Size);
  QFETCH(QPoint, P0);
  QFETCH(QPoint, P1);
  QFETCH(QPoint, P2);
  const TRotationGeometry G = RotationGeometry(W, H, Angle, Enlarge);
  QCOMPARE(QSize(int(G.Width), int(G.Height)), Size);
  QCOMPARE(QPoint(int(G.P0.X), int(G.P0.Y)), P0);
  QCOMPARE(QPoint(int(G.P1.X), int(G.P1.Y)), P1);
  QCOMPARE(QPoint(int(G.P2.X), int(G.P2.Y)), P2);
}

void RotateTest::quarterAndHalfTurns_data() {
  QTest::addColumn<float>("Angle");
  QTest::addColumn<int>("Turn");  // quarter turns clockwise
  QTest::newRow("pi/2") << HalfPi << 1;
  QTest::newRow("pi") << Pi << 2;
  QTest::newRow("-pi/2") << -HalfPi << 3;
}

// Every pixel of a 640 x 480 picture lands where the turn puts it.
void RotateTest::quarterAndHalfTurns() {
  QFETCH(float, Angle);
  QFETCH(int, Turn);
  constexpr int W = 640, H = 480;
  TBitmap Bitmap = MarkedBitmap(W, H);
  RotateBitmapInPlace(Bitmap, Angle, true, QColor(Background));
  const QImage& Out = Bitmap.Picture;
  QCOMPARE(Out.size(), Turn == 2 ? QSize(W, H) : QSize(H, W));
  QCOMPARE(Out.format(), QImage::Format_RGB32);
  for (int Y = 0; Y < Out.height(); ++Y)
    for (int X = 0; X < Out.width(); ++X) {
      const QPoint From = Turn == 1 ? QPoint(Y, H - 1 - X) : Turn == 2 ? QPoint(W - 1 - X, H - 1 - Y)
                                                                     : QPoint(W - 1 - Y, X);
      if (Out.pixel(X, Y) != Marker(From.x(), From.y()))
        QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(X).arg(Y)));
    }
}

// Kept at 100 x 50, the turned picture (50 wide, 100 high) is centred: its
// top and bottom 25 rows are cut off and 25 columns of background stay on
// either side.
void RotateTest::clippedQuarterTurn() {
  TBitmap Bitmap = MarkedBitmap(100, 50);
  RotateBitmapInPlace(Bitmap, HalfPi, false, QColor(Background));
  const QImage& Out = Bitmap.Picture;
  QCOMPARE(Out.size(), QSize(100, 50));
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 100; ++X) {
      const QRgb Expected = X < 25 || X >= 75 ? Background : Marker(Y + 25, 74 - X);
      if (Out.pixel(X, Y) != Expected) QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(X).arg(Y)));
    }
}

void RotateTest::otherAngles_data() {
  QTest::addColumn<int>("W");
  QTest::addColumn<int>("H");
  QTest::addColumn<float>("Angle");
  QTest::addColumn<bool>("Enlarge");
  QTest::newRow("100x50 by pi/6") << 100 << 50 << float(std::numbers::pi / 6) << true;
  QTest::newRow("37x23 by 0.3") << 37 << 23 << 0.3f << true;
  QTest::newRow("37x23 by -1.1") << 37 << 23 << -1.1f << true;
  QTest::newRow("37x23 by 2.5 clipped") << 37 << 23 << 2.5f << false;
  QTest::newRow("64x64 by pi/4 clipped") << 64 << 64 << float(std::numbers::pi / 4) << false;
  QTest::newRow("1x1 by 0.7") << 1 << 1 << 0.7f << true;
}

// Any other angle: each target pixel holds the source pixel under its centre
// or, outside the turned picture, the background.
void RotateTest::otherAngles() {
  QFETCH(int, W);
  QFETCH(int, H);
  QFETCH(float, Angle);
  QFETCH(bool, Enlarge);
  TBitmap Bitmap = MarkedBitmap(W, H);
  const TRotationGeometry G = RotationGeometry(W, H, Angle, Enlarge);
  RotateBitmapInPlace(Bitmap, Angle, Enlarge, QColor(Background));
  const QImage& Out = Bitmap.Picture;
  QCOMPARE(Out.size(), QSize(int(G.Width), int(G.Height)));
  int Covered = 0;
  for (int Y = 0; Y < Out.height(); ++Y)
    for (int X = 0; X < Out.width(); ++X) {
      const int64_t From = ReferenceSource(G, W, H, X, Y);
      if (From == -2) continue;
      const QRgb Expected = From < 0 ? Background : Marker(int(From % W), int(From / W));
      Covered += From >= 0;
      if (Out.pixel(X, Y) != Expected) QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(X).arg(Y)));
    }
  // Turning keeps the area, give or take the rounded edges.
  QVERIFY(std::abs(Covered - W * H) <= W + H + 2 || !Enlarge);
}

void RotateTest::keepsTransparencySettings() {
  TBitmap Bitmap = MarkedBitmap(10, 4);
  Bitmap.Transparent = true;
  Bitmap.TransparentColor = QColor(Qt::red);
  Bitmap.TransparentMode = tmFixed;
  RotateBitmapInPlace(Bitmap, HalfPi, true, QColor(Background));
  QCOMPARE(Bitmap.Picture.size(), QSize(4, 10));
  QVERIFY(Bitmap.Transparent);
  QCOMPARE(Bitmap.TransparentColor, QColor(Qt::red));
  QCOMPARE(Bitmap.TransparentMode, tmFixed);
  QCOMPARE(Bitmap.BrushColor, QColor(Background));

  TBitmap Plain = MarkedBitmap(10, 4);
  RotateBitmapInPlace(Plain, Pi, true, QColor(Background));
  QVERIFY(!Plain.Transparent);
  QCOMPARE(Plain.TransparentMode, tmAuto);
}

// A picture with an alpha channel keeps it, and the background is opaque.
void RotateTest::keepsAlpha() {
  TBitmap Bitmap;
  Bitmap.Picture = QImage(20, 10, QImage::Format_ARGB32);
  Bitmap.Picture.fill(qRgba(200, 100, 50, 128));
  RotateBitmapInPlace(Bitmap, float(std::numbers::pi / 6), true, QColor(Background));
  QCOMPARE(Bitmap.Picture.format(), QImage::Format_ARGB32);
  QCOMPARE(Bitmap.Picture.pixel(0, 0), Background);
  const QPoint Centre(Bitmap.Width() / 2, Bitmap.Height() / 2);
  QCOMPARE(Bitmap.Picture.pixel(Centre), qRgba(200, 100, 50, 128));
}

void RotateTest::orientationAngles_data() {
  QTest::addColumn<qint64>("Code");
  QTest::addColumn<double>("Angle");
  for (qint64 Code : {0, 1, 2, 9, -3, 65535}) QTest::addRow("code %lld", Code) << Code << 0.0;
  for (qint64 Code : {3, 4}) QTest::addRow("code %lld", Code) << Code << std::numbers::pi;
  for (qint64 Code : {5, 6}) QTest::addRow("code %lld", Code) << Code << std::numbers::pi / 2;
  for (qint64 Code : {7, 8}) QTest::addRow("code %lld", Code) << Code << -std::numbers::pi / 2;
}

void RotateTest::orientationAngles() {
  QFETCH(qint64, Code);
  QFETCH(double, Angle);
  QCOMPARE(OrientationAngle(Code), Angle);
}

QTEST_APPLESS_MAIN(RotateTest)
#include "RotateTest.moc"

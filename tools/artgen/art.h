// Shared vocabulary of the picture generator: the canvas a picture is drawn on,
// the palette, and the shapes several pictures are built from.
#pragma once

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QString>

// A picture is drawn on a square design grid (48 units for icons and weather,
// 32 for the toolbar) scaled to the output size; `px` lets a picture leave out
// detail or switch to a pixel-exact grid for the smallest sizes.
struct Canvas {
    QPainter &p;
    int px;
    qreal units;

    qreal scale() const { return px / units; }
    bool tiny() const { return px <= 16; }
    bool small() const { return px <= 24; }
    // Switches to a grid `u` units wide (tiny pictures use the pixel grid).
    void grid(qreal u);
    // A stroke width in design units that never falls below `minPx` output pixels.
    qreal w(qreal u, qreal minPx = 1.0) const;
};

using DrawFn = void (*)(Canvas &);

struct Picture {
    QString name;   // file name without extension
    DrawFn draw;
};

// The picture families; each lives in its own source file.
QList<Picture> programPictures();   // res/RES_*.ico
QList<Picture> weatherPictures();   // res/weather/*.png, named after the weather keys without ".gif"
QList<Picture> toolbarPictures();   // res/toolbar/*.png
QList<Picture> taskPictures();      // res/toolbar/*.png of the task list
QList<Picture> noteToolbarPictures();  // res/toolbar/*.png of the notes window
QList<Picture> phonebookToolbarPictures();  // res/toolbar/*.png of the phone book
QList<Picture> contactPictures();   // res/contact/*.png
QList<Picture> categoryPictures();  // <icondir>/*.ico

// One palette for every family: a colour and its darker outline shade.
namespace pal {
constexpr QRgb ink = 0x34404c, inkSoft = 0x5b6773;
constexpr QRgb paper = 0xffffff, paperShade = 0xe6ebf0;
constexpr QRgb red = 0xe5484d, redDark = 0xa82a31;
constexpr QRgb orange = 0xf5862a, orangeDark = 0xb85a0c;
constexpr QRgb gold = 0xffc53d, goldDark = 0xc78600, goldPale = 0xffe7a3;
constexpr QRgb amber = 0xeea21b, amberDark = 0x9a6300, amberPale = 0xf8d68a;
constexpr QRgb green = 0x36b065, greenDark = 0x1f7d45;
constexpr QRgb lime = 0x9ccb3b, limeDark = 0x628a1a;
constexpr QRgb teal = 0x1aa6a0, tealDark = 0x0e736f;
constexpr QRgb sky = 0x34a9e6, skyDark = 0x1a76ab;
constexpr QRgb blue = 0x3c72db, blueDark = 0x234fa3, bluePale = 0xd6e4fa;
constexpr QRgb indigo = 0x454ca8, indigoDark = 0x2a3073;
constexpr QRgb purple = 0x8957d0, purpleDark = 0x5f369e;
constexpr QRgb magenta = 0xd2449a, magentaDark = 0x972a6c;
constexpr QRgb pink = 0xf27ba3, pinkDark = 0xc2416d;
constexpr QRgb rose = 0xef4f7a, roseDark = 0xb0244c;
constexpr QRgb brown = 0xa6693c, brownDark = 0x6e421d, cream = 0xf6e3c4;
constexpr QRgb gray = 0x9aa4ae, grayDark = 0x66717c, grayLight = 0xd3d9df;
constexpr QRgb cloud = 0xf4f7fa, cloudLine = 0x7c8996;
constexpr QRgb cloudMid = 0xc0c9d2, cloudDark = 0x8b97a3, cloudDarkLine = 0x56616d;
constexpr QRgb rain = 0x2f8de4, rainDark = 0x1c62a8, ice = 0xe3f1fc;
} // namespace pal

// Painting helpers; widths are design units, kept at least `minPx` pixels wide.
QPen pen(const Canvas &c, QRgb colour, qreal width, qreal minPx = 1.0);
void fill(Canvas &c, const QPainterPath &path, QRgb colour);
void fillLine(Canvas &c, const QPainterPath &path, QRgb fill, QRgb line, qreal width, qreal minPx = 1.0);
void stroke(Canvas &c, const QPainterPath &path, QRgb colour, qreal width, qreal minPx = 1.0);
void line(Canvas &c, QPointF a, QPointF b, QRgb colour, qreal width, qreal minPx = 1.0);

// Shapes, placed by their bounding box or centre.
QPainterPath rrect(const QRectF &r, qreal radius);
QPainterPath circle(QPointF centre, qreal radius);
QPainterPath polygon(std::initializer_list<QPointF> points);
QPainterPath cloudPath(const QRectF &box);
QPainterPath bellPath(const QRectF &box);             // dome, rim and knob, without the clapper
QPainterPath starPath(QPointF centre, qreal outer, qreal inner, int points = 5);
QPainterPath heartPath(const QRectF &box);
QPainterPath gearPath(QPointF centre, qreal outer, qreal inner, int teeth);
QPainterPath tagPath(const QRectF &box);              // a luggage label pointing up-left, with its hole
QPainterPath dropPath(QPointF top, qreal height);
QPainterPath crescentPath(QPointF centre, qreal radius);
QPainterPath personPath(QPointF head, qreal size);   // head and shoulders, `size` = shoulder width

// Composite pieces shared by several families.
void drawSun(Canvas &c, QPointF centre, qreal radius, qreal rayLength);
void drawMoon(Canvas &c, QPointF centre, qreal radius);
void drawCloud(Canvas &c, const QRectF &box, QRgb fill, QRgb line);
void drawSnowflake(Canvas &c, QPointF centre, qreal radius, QRgb colour, qreal width);
void drawQuestionMark(Canvas &c, const QRectF &box, QRgb colour, qreal width);
void drawBell(Canvas &c, const QRectF &box, qreal outline);
void drawBadge(Canvas &c, QRgb colour);  // a round badge in the lower right corner of a 32-unit picture

// Where a family goes and how it is stored.
struct Family {
    QString folder;          // absolute output folder
    QString resourceFolder;  // folder inside the resource file (alias prefix); empty: not compiled in
    QString aliasSuffix;     // the alias's ending, e.g. ".gif" for the weather keys
    bool ico;                // an ICO with every size of `icoSizes`, else one PNG `grid` pixels wide
    int grid;                // design grid units
    QList<Picture> pictures;

    QString fileName(const Picture &pic) const { return pic.name + (ico ? QStringLiteral(".ico") : QStringLiteral(".png")); }
};

inline const QList<int> icoSizes = {16, 24, 32, 48};
// The sizes of the hicolor icon theme the program's icon is drawn at.
inline const QList<int> themeSizes = {16, 22, 24, 32, 48, 64, 128, 256};

QList<Family> families(const QString &outDir, const QString &iconDir);
QImage render(DrawFn draw, int px, int grid);
bool writeIco(const QString &path, const QList<QImage> &images);
bool writePng(const QString &path, const QImage &image);
bool writeSheet(const QString &sheetPath, const QList<Family> &all);
bool writeThemeIcons(const QString &themeDir);

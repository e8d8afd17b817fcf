// helpgen: renders one manual page (simple HTML) to an A4 PDF.
// Usage: helpgen <input.html> <output.pdf>

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr int kResolution = 300;          // dots per inch of the PDF's drawing surface
constexpr qreal kMarginMm = 18.0;         // page margins on every side
constexpr qreal kBodyPointSize = 10.5;
constexpr qreal kFooterPointSize = 8.5;

void fail(const QString& message)
{
    std::fprintf(stderr, "helpgen: %s\n", qPrintable(message));
}

QFont bodyFont(qreal pointSize)
{
    // Families with full Latin and Cyrillic coverage, in order of preference.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Noto Sans")});
    font.setPointSizeF(pointSize);
    return font;
}

bool readHtml(const QString& path, QString& html)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    html = QString::fromUtf8(file.readAll());
    return true;
}

// Lays the document out on the writer's pages and paints it page by page, with the
// page number in a footer band reserved at the bottom of each page.
bool render(QTextDocument& doc, QPdfWriter& writer)
{
    QPainter painter;
    if (!painter.begin(&writer))
        return false;

    doc.documentLayout()->setPaintDevice(&writer);
    const QFont footerFont = bodyFont(kFooterPointSize);
    const qreal footerHeight = 2.5 * QFontMetricsF(footerFont, &writer).height();
    const QSizeF page(writer.width(), writer.height() - footerHeight);
    doc.setPageSize(page);

    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        const QRectF band(0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -band.top());
        doc.drawContents(&painter, band);
        painter.restore();

        painter.setFont(footerFont);
        painter.setPen(QColor(0x55, 0x55, 0x55));
        painter.drawText(QRectF(0, page.height(), page.width(), footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
    }
    return painter.end();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() != 3) {
        fail(QStringLiteral("usage: helpgen <input.html> <output.pdf>"));
        return 2;
    }
    const QString inputPath = args.at(1);
    const QString outputPath = args.at(2);

    QString html;
    if (!readHtml(inputPath, html))
        return 1;

    QTextDocument doc;
    doc.setDefaultFont(bodyFont(kBodyPointSize));
    doc.setHtml(html);
    if (doc.isEmpty()) {
        fail(QStringLiteral("%1 has no text").arg(inputPath));
        return 1;
    }

    // The PDF goes to a temporary file renamed on success, so a failed run never
    // leaves a truncated file that the build would take as up to date.
    QSaveFile out(outputPath);
    if (!out.open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("cannot write %1: %2").arg(outputPath, out.errorString()));
        return 1;
    }
    {
        QPdfWriter writer(&out);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Tessaryn helpgen"));
        if (!render(doc, writer)) {
            fail(QStringLiteral("rendering %1 failed").arg(outputPath));
            out.cancelWriting();
            return 1;
        }
    }
    if (!out.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(outputPath, out.errorString()));
        return 1;
    }
    return 0;
}

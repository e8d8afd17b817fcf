#pragma once

#include "RtfWriter.h"

#include <QTextEdit>

#include <optional>

// A rich-text box whose whole document loads and saves as RTF, and whose
// selection's formats can be read and set one at a time. A format read from a
// selection that mixes values has none. Pasted or dropped text keeps only what RTF
// keeps here (pictures, tables, links and other formats are left behind).
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    QByteArray TextRTF() const;
    void SetTextRTF(const QByteArray& data);

    std::optional<bool> SelBold() const;
    std::optional<bool> SelItalic() const;
    std::optional<bool> SelUnderline() const;
    std::optional<bool> SelStrikeThru() const;
    std::optional<QString> SelFontName() const;
    std::optional<double> SelFontSize() const;
    std::optional<QColor> SelColor() const;

    void SetSelBold(bool on);
    void SetSelItalic(bool on);
    void SetSelUnderline(bool on);
    void SetSelStrikeThru(bool on);
    void SetSelFont(const QFont& font);  // family, bold, italic and size
    void SetSelColor(const QColor& colour);
    void SetSelAlignment(ParagraphAlignment alignment);

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The one value every character of the selection has, or nothing.
    template <class T, class Get>
    std::optional<T> common(Get get) const;
};

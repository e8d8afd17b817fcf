#pragma once

#include "RtfWriter.h"

#include <QTextEdit>

#include <memory>
#include <optional>

struct RtfLoad;

// A rich-text box whose whole document loads and saves as RTF, and whose
// selection's formats can be read and set one at a time. A format read from a
// selection that mixes values has none. Pasted or dropped text keeps only what RTF
// keeps here (pictures, tables, links and other formats are left behind).
//
// A document is read apart from the box and then shown whole, so that Qt lays it out
// in steps as it is shown rather than at every insertion. A large one is read on a
// worker thread (LoadTextRTF): the box stays empty and read-only meanwhile.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);
    ~RichTextBox() override;

    // The whole document; a reading still under way is waited for first.
    QByteArray TextRTF();
    // Replaces the document at once; a reading still under way is dropped.
    void SetTextRTF(const QByteArray& data);
    // Replaces the document: at once when the data is small, else read on a worker
    // thread, with Loaded when it is shown (without textChanged: the document is the
    // one the call asked for).
    void LoadTextRTF(const QByteArray& data);
    bool Loading() const { return load_ != nullptr; }
    // Waits for a reading still under way and shows its document.
    void FinishLoading();
    // Empties the box; a reading still under way is dropped.
    void Clear();

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

signals:
    void Loaded();

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    void showDocument(std::unique_ptr<QTextDocument> document);
    void dropLoading();
    void loadFinished(std::shared_ptr<RtfLoad> load);

    // The one value every character of the selection has, or nothing.
    template <class T, class Get>
    std::optional<T> common(Get get) const;

    std::shared_ptr<RtfLoad> load_;  // the reading under way
};

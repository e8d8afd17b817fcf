#include "RtfReader.h"

#include "CodePage.h"

#include <QHash>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

enum class Destination : quint8 { Text, FontTable, ColourTable, Skip };

enum class Alignment : quint8 { Left, Centre, Right, Justify };

struct CharState {
    int font = -1;  // number in the font table; -1 none
    int halfPoints = 24;
    int colour = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;

    bool operator==(const CharState&) const = default;
};

struct GroupState {
    CharState chars;
    Alignment alignment = Alignment::Left;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
    bool skippedByStar = false;  // only \* skips the text group: a field result so marked is shown
};

struct FontEntry {
    QString name;
    int charset = 1;  // 1: the document's code page
    int codePage = 0;  // \cpgN, over the charset's
};

enum class Word : quint8 {
    Ansi, AnsiCodePage, Mac, Pc, Pca, DefaultFont, FontTable, ColourTable, SkipGroup, FieldResult,
    Paragraph, Line, Tab, ParagraphDefaults, AlignLeft, AlignCentre, AlignRight, AlignJustify,
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, Font, FontSize, Colour, Red, Green, Blue,
    FontCharset, FontCodePage, Unicode, UnicodeSkip, Binary, Character,
};

struct WordEntry {
    std::string_view name;
    Word word;
    char16_t character = 0;  // for Word::Character
};

// Sorted by name for the binary search.
constexpr WordEntry Words[] = {
    {"annotation", Word::SkipGroup},     {"ansi", Word::Ansi},
    {"ansicpg", Word::AnsiCodePage},     {"atnauthor", Word::SkipGroup},
    {"atnid", Word::SkipGroup},          {"b", Word::Bold},
    {"bin", Word::Binary},               {"blue", Word::Blue},
    {"bullet", Word::Character, 0x2022}, {"cell", Word::Tab},
    {"cf", Word::Colour},                {"colortbl", Word::ColourTable},
    {"cpg", Word::FontCodePage},
    {"datastore", Word::SkipGroup},      {"deff", Word::DefaultFont},
    {"emdash", Word::Character, 0x2014}, {"emspace", Word::Character, 0x2003},
    {"endash", Word::Character, 0x2013}, {"enspace", Word::Character, 0x2002},
    {"f", Word::Font},                   {"fcharset", Word::FontCharset},
    {"fldinst", Word::SkipGroup},        {"fldrslt", Word::FieldResult},
    {"fonttbl", Word::FontTable},
    {"footer", Word::SkipGroup},         {"footerf", Word::SkipGroup},
    {"footerl", Word::SkipGroup},        {"footerr", Word::SkipGroup},
    {"footnote", Word::SkipGroup},       {"fs", Word::FontSize},
    {"green", Word::Green},              {"header", Word::SkipGroup},
    {"headerf", Word::SkipGroup},        {"headerl", Word::SkipGroup},
    {"headerr", Word::SkipGroup},        {"i", Word::Italic},
    {"info", Word::SkipGroup},           {"ldblquote", Word::Character, 0x201C},
    {"line", Word::Line},                {"listoverridetable", Word::SkipGroup},
    {"listtable", Word::SkipGroup},      {"lquote", Word::Character, 0x2018},
    {"mac", Word::Mac},                  {"nestcell", Word::Tab},
    {"nonesttables", Word::SkipGroup},
    {"nonshppict", Word::SkipGroup},     {"object", Word::SkipGroup},
    {"page", Word::Paragraph},           {"par", Word::Paragraph},
    {"pard", Word::ParagraphDefaults},   {"pc", Word::Pc},
    {"pca", Word::Pca},                  {"pict", Word::SkipGroup},
    {"plain", Word::Plain},              {"qc", Word::AlignCentre},
    {"qd", Word::AlignJustify},          {"qj", Word::AlignJustify},
    {"ql", Word::AlignLeft},             {"qr", Word::AlignRight},
    {"rdblquote", Word::Character, 0x201D}, {"red", Word::Red},
    {"revtbl", Word::SkipGroup},         {"row", Word::Paragraph},
    {"rquote", Word::Character, 0x2019}, {"rsidtbl", Word::SkipGroup},
    {"sect", Word::Paragraph},           {"shp", Word::SkipGroup},
    {"strike", Word::Strike},            {"striked", Word::Strike},
    {"stylesheet", Word::SkipGroup},     {"tab", Word::Tab},
    {"themedata", Word::SkipGroup},      {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip},           {"ul", Word::Underline},
    {"uld", Word::Underline},            {"uldash", Word::Underline},
    {"uldashd", Word::Underline},        {"uldashdd", Word::Underline},
    {"uldb", Word::Underline},           {"ulhwave", Word::Underline},
    {"ulldash", Word::Underline},        {"ulnone", Word::UnderlineNone},
    {"ulth", Word::Underline},           {"ulthd", Word::Underline},
    {"ulthdash", Word::Underline},       {"ulw", Word::Underline},
    {"ulwave", Word::Underline},         {"xmlnstbl", Word::SkipGroup},
};

const WordEntry* findWord(std::string_view name)
{
    const auto* end = std::end(Words);
    const auto* found = std::lower_bound(std::begin(Words), end, name,
                                         [](const WordEntry& entry, std::string_view n) { return entry.name < n; });
    return found != end && found->name == name ? found : nullptr;
}

// Windows code page of a font's \fcharset; 0 for the document's own.
int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252;  // symbol fonts: their bytes are shown as they stand
    case 77: return 10000;
    case 78: return 10001;
    case 79: return 10003;
    case 80: return 10008;
    case 81: return 10002;
    case 82: return 10003;  // the Mac's old Johab: Korean
    case 83: return 10005;
    case 84: return 10004;
    case 85: return 10006;
    case 86: return 10081;
    case 87: return 10021;
    case 88: return 10029;
    case 89: return 10007;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

constexpr int MaxDepth = 4096;  // deeper groups share their parent's state
constexpr int DefaultHalfPoints = 24;

class RtfParser {
public:
    RtfParser(const QByteArray& data, QTextCursor& cursor)
        : data_(data)
        , cursor_(cursor)
    {
    }

    void Run()
    {
        const qsizetype size = data_.size();
        while (pos_ < size && !finished_) {
            const char c = data_.at(pos_);
            if (c == '{') {
                ++pos_;
                openGroup();
            } else if (c == '}') {
                ++pos_;
                closeGroup();
            } else if (c == '\\') {
                ++pos_;
                controlWord();
            } else {
                ++pos_;
                if (c == '\r' || c == '\n')
                    continue;
                if (skipFallback())
                    continue;
                if (c == '\t')
                    appendChar(u'\t');
                else if (static_cast<unsigned char>(c) >= 0x20)
                    appendByte(c);
            }
        }
        flushBytes();
        flushText();
        if (!paragraphClosed_ && !merged_)
            setBlockAlignment(lastTextAlignment_);
    }

private:
    // ---- groups ----

    void openGroup()
    {
        flushBytes();
        pendingSkip_ = 0;
        if (static_cast<int>(stack_.size()) >= MaxDepth)
            ++overflow_;
        else
            stack_.push_back(state_);
        state_.skippedByStar = false;
        started_ = true;
    }

    void closeGroup()
    {
        flushBytes();
        pendingSkip_ = 0;
        if (state_.destination == Destination::FontTable)
            commitFont();
        if (overflow_ > 0) {
            --overflow_;
        } else if (!stack_.empty()) {
            state_ = stack_.back();
            stack_.pop_back();
        }
        // What follows the outermost group's end (a trailing NUL) is not part of the text.
        if (started_ && stack_.empty() && overflow_ == 0)
            finished_ = true;
    }

    // ---- control words and symbols ----

    void controlWord()
    {
        const qsizetype size = data_.size();
        if (pos_ >= size)
            return;
        const char first = data_.at(pos_);
        if (!isLetter(first)) {
            ++pos_;
            controlSymbol(first);
            return;
        }
        const qsizetype start = pos_;
        while (pos_ < size && isLetter(data_.at(pos_)))
            ++pos_;
        const std::string_view name(data_.constData() + start, static_cast<size_t>(std::min<qsizetype>(pos_ - start, 32)));
        bool hasParameter = false;
        bool negative = false;
        qint64 value = 0;
        if (pos_ + 1 < size && data_.at(pos_) == '-' && isDigit(data_.at(pos_ + 1))) {
            negative = true;
            ++pos_;
        }
        while (pos_ < size && isDigit(data_.at(pos_))) {
            hasParameter = true;
            value = std::min<qint64>(value * 10 + (data_.at(pos_) - '0'), INT32_MAX);
            ++pos_;
        }
        if (pos_ < size && data_.at(pos_) == ' ')
            ++pos_;
        const int parameter = static_cast<int>(negative ? -value : value);

        const WordEntry* entry = findWord(name);
        // Binary data is skipped by its count wherever it stands.
        if (entry && entry->word == Word::Binary) {
            flushBytes();
            pos_ += std::clamp<qint64>(parameter, 0, size - pos_);
            return;
        }
        const bool starred = std::exchange(state_.skippedByStar, false);
        if (skipFallback() || !entry)
            return;
        if (starred && entry->word == Word::FieldResult)
            state_.destination = Destination::Text;
        if (state_.destination == Destination::Skip)
            return;
        flushBytes();
        handleWord(*entry, hasParameter, parameter);
    }

    void controlSymbol(char symbol)
    {
        if (symbol == '\'') {
            const int high = pos_ < data_.size() ? hexValue(data_.at(pos_)) : -1;
            const int low = pos_ + 1 < data_.size() ? hexValue(data_.at(pos_ + 1)) : -1;
            if (high < 0 || low < 0)
                return;  // not a byte: the characters are read as text
            pos_ += 2;
            if (!skipFallback())
                appendByte(static_cast<char>(high * 16 + low));
            return;
        }
        if (skipFallback())
            return;
        switch (symbol) {
        case '\\':
        case '{':
        case '}':
            appendByte(symbol);
            break;
        case '~':
            appendChar(u'\u00A0');
            break;
        case '_':
            appendChar(u'\u2011');
            break;
        case '\t':
            appendChar(u'\t');
            break;
        case '\r':
        case '\n':
            if (state_.destination == Destination::Text)
                paragraph();
            break;
        case '*':
            flushBytes();
            state_.skippedByStar = state_.destination == Destination::Text;
            state_.destination = Destination::Skip;
            break;
        default:
            break;  // optional hyphen, index and other marks
        }
    }

    void handleWord(const WordEntry& entry, bool hasParameter, int parameter)
    {
        const bool on = !hasParameter || parameter != 0;
        CharState& chars = state_.chars;
        switch (entry.word) {
        case Word::Ansi: ansiCodePage_ = 1252; break;
        case Word::AnsiCodePage: ansiCodePage_ = std::clamp(parameter, 0, 65535); break;
        case Word::Mac: ansiCodePage_ = 10000; break;
        case Word::Pc: ansiCodePage_ = 437; break;
        case Word::Pca: ansiCodePage_ = 850; break;
        case Word::DefaultFont: defaultFont_ = parameter; break;
        case Word::FontTable: state_.destination = Destination::FontTable; break;
        case Word::ColourTable:
            state_.destination = Destination::ColourTable;
            colours_.clear();
            colourPending_ = {};
            break;
        case Word::SkipGroup: state_.destination = Destination::Skip; break;
        case Word::Font:
            if (state_.destination == Destination::FontTable) {
                commitFont();
                fontNumber_ = parameter;
                fonts_.insert(fontNumber_, FontEntry());
            } else {
                chars.font = parameter;
            }
            break;
        case Word::FontCharset:
            if (state_.destination == Destination::FontTable && fonts_.contains(fontNumber_))
                fonts_[fontNumber_].charset = parameter;
            break;
        case Word::FontCodePage:
            if (state_.destination == Destination::FontTable && fonts_.contains(fontNumber_))
                fonts_[fontNumber_].codePage = std::clamp(parameter, 0, 65535);
            break;
        case Word::Red: colourPending_.setRed(std::clamp(parameter, 0, 255)); colourSet_ = true; break;
        case Word::Green: colourPending_.setGreen(std::clamp(parameter, 0, 255)); colourSet_ = true; break;
        case Word::Blue: colourPending_.setBlue(std::clamp(parameter, 0, 255)); colourSet_ = true; break;
        case Word::Unicode: {
            // A unit of UTF-16; negative numbers stand for those above 32767.
            const int unit = std::clamp(parameter, -32768, 65535);
            appendChar(static_cast<char16_t>(unit < 0 ? unit + 65536 : unit));
            pendingSkip_ = state_.unicodeSkip;
            break;
        }
        case Word::UnicodeSkip: state_.unicodeSkip = std::clamp(parameter, 0, 65535); break;
        default:
            if (state_.destination == Destination::Text)
                handleTextWord(entry, on, parameter);
            break;
        }
    }

    void handleTextWord(const WordEntry& entry, bool on, int parameter)
    {
        CharState& chars = state_.chars;
        switch (entry.word) {
        case Word::Paragraph: paragraph(); break;
        case Word::Line: appendChar(QChar::LineSeparator); break;
        case Word::Tab: appendChar(u'\t'); break;
        case Word::Character: appendChar(entry.character); break;
        case Word::ParagraphDefaults: state_.alignment = Alignment::Left; break;
        case Word::AlignLeft: state_.alignment = Alignment::Left; break;
        case Word::AlignCentre: state_.alignment = Alignment::Centre; break;
        case Word::AlignRight: state_.alignment = Alignment::Right; break;
        case Word::AlignJustify: state_.alignment = Alignment::Justify; break;
        case Word::Plain: chars = CharState{defaultFont_}; break;
        case Word::Bold: chars.bold = on; break;
        case Word::Italic: chars.italic = on; break;
        case Word::Underline: chars.underline = on; break;
        case Word::UnderlineNone: chars.underline = false; break;
        case Word::Strike: chars.strike = on; break;
        case Word::FontSize: chars.halfPoints = parameter > 0 ? std::min(parameter, 3276) : DefaultHalfPoints; break;
        case Word::Colour: chars.colour = std::max(parameter, 0); break;
        default: break;
        }
    }

    // ---- text ----

    bool skipFallback()
    {
        if (pendingSkip_ <= 0)
            return false;
        --pendingSkip_;
        return true;
    }

    void appendByte(char byte)
    {
        switch (state_.destination) {
        case Destination::Text:
        case Destination::FontTable:
            if (state_.destination == Destination::FontTable && byte == ';') {
                flushBytes();
                commitFont();
                return;
            }
            if (bytes_.isEmpty())
                bytesCodePage_ = codePageOfFont();
            bytes_.append(byte);
            break;
        case Destination::ColourTable:
            if (byte == ';') {
                colours_.append(colourSet_ ? colourPending_ : QColor());
                colourPending_ = QColor(0, 0, 0);
                colourSet_ = false;
            }
            break;
        case Destination::Skip:
            break;
        }
    }

    void appendChar(QChar ch)
    {
        if (ch == QChar::ObjectReplacementCharacter)  // stands for an object a note cannot hold
            return;
        if (state_.destination == Destination::FontTable) {
            fontName_.append(ch);
            return;
        }
        if (state_.destination != Destination::Text)
            return;
        flushBytes();
        if (paragraphClosed_)
            startParagraph();
        addText(ch);
    }

    void addText(QChar ch)
    {
        if (!text_.isEmpty() && !(textState_ == state_.chars))
            flushText();
        textState_ = state_.chars;
        lastTextAlignment_ = state_.alignment;
        text_.append(ch);
    }

    // A font number the table does not hold stands for the default font.
    const FontEntry* fontEntry(int number) const
    {
        auto entry = fonts_.constFind(number);
        if (entry == fonts_.cend())
            entry = fonts_.constFind(defaultFont_);
        return entry != fonts_.cend() ? &*entry : nullptr;
    }

    int codePageOfFont() const
    {
        const FontEntry* font =
            fontEntry(state_.destination == Destination::FontTable ? fontNumber_ : state_.chars.font);
        const int codePage = !font ? 0 : font->codePage ? font->codePage : codePageOfCharset(font->charset);
        return codePage ? codePage : ansiCodePage_;
    }

    // Bytes of one code page are decoded together, so that the two bytes of an East
    // Asian character meet.
    void flushBytes()
    {
        if (bytes_.isEmpty())
            return;
        const QByteArray bytes = std::exchange(bytes_, QByteArray());
        const QString decoded = CodePage::Decode(bytes, CodePage::NameOf(bytesCodePage_));
        for (const QChar ch : decoded)
            appendChar(ch);
    }

    void flushText()
    {
        if (text_.isEmpty())
            return;
        cursor_.insertText(withoutLoneSurrogates(text_), charFormat(textState_));
        text_.clear();
    }

    static QString withoutLoneSurrogates(QString text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text.at(i);
            if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else if (ch.isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
        return text;
    }

    QTextCharFormat charFormat(const CharState& chars) const
    {
        QTextCharFormat format;
        if (const FontEntry* font = fontEntry(chars.font); font && !font->name.isEmpty())
            SetFontFamily(format, font->name);
        format.setFontPointSize(chars.halfPoints / 2.0);
        format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(chars.italic);
        format.setFontUnderline(chars.underline);
        format.setFontStrikeOut(chars.strike);
        // Entry 0 of the colour table is usually the automatic colour, written empty.
        if (chars.colour < colours_.size() && colours_.at(chars.colour).isValid())
            format.setForeground(colours_.at(chars.colour));
        return format;
    }

    // ---- paragraphs ----

    // The paragraph takes the alignment in force at its mark. The next paragraph
    // starts only when text follows: the mark that ends the last paragraph adds none.
    void paragraph()
    {
        flushBytes();
        if (paragraphClosed_)
            startParagraph();  // an empty one
        paragraphClosed_ = true;
        if (merged_)
            return;
        flushText();
        setBlockAlignment(state_.alignment);
    }

    void startParagraph()
    {
        paragraphClosed_ = false;
        if (blocks_ < MaxRtfParagraphs) {
            flushText();
            cursor_.insertBlock();
            ++blocks_;
        } else {
            merged_ = true;
            addText(QChar::LineSeparator);
        }
    }

    // A new paragraph has the format of the one before it: only a change is set.
    void setBlockAlignment(Alignment alignment)
    {
        static constexpr Qt::Alignment flags[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
        if (alignmentSet_ && alignment == blockAlignment_)
            return;
        QTextBlockFormat format = cursor_.blockFormat();
        format.setAlignment(flags[static_cast<int>(alignment)]);
        cursor_.setBlockFormat(format);
        blockAlignment_ = alignment;
        alignmentSet_ = true;
    }

    // ---- tables ----

    void commitFont()
    {
        if (fontNumber_ == NoFont)
            return;
        flushBytes();
        auto entry = fonts_.find(fontNumber_);
        if (entry != fonts_.end() && entry->name.isEmpty())
            entry->name = fontName_.trimmed();
        fontName_.clear();
        fontNumber_ = NoFont;
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    static constexpr int NoFont = INT32_MIN;

    const QByteArray& data_;
    qsizetype pos_ = 0;
    QTextCursor& cursor_;
    GroupState state_;
    std::vector<GroupState> stack_;
    int overflow_ = 0;
    bool started_ = false;
    bool finished_ = false;
    int pendingSkip_ = 0;

    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    int fontNumber_ = NoFont;
    QString fontName_;
    QList<QColor> colours_;
    QColor colourPending_ = QColor(0, 0, 0);
    bool colourSet_ = false;

    QByteArray bytes_;
    int bytesCodePage_ = 1252;
    QString text_;
    CharState textState_;
    Alignment lastTextAlignment_ = Alignment::Left;
    bool paragraphClosed_ = false;
    int blocks_ = 1;
    bool merged_ = false;  // the paragraphs beyond the limit have begun
    Alignment blockAlignment_ = Alignment::Left;
    bool alignmentSet_ = false;
};

QString plainText(const QByteArray& data)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = QString::fromLatin1(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    int paragraphs = 1;
    for (QChar& ch : text) {
        if (ch == QLatin1Char('\n') && ++paragraphs > MaxRtfParagraphs)
            ch = QChar::LineSeparator;
    }
    return text;
}

}  // namespace

void SetFontFamily(QTextCharFormat& format, const QString& family)
{
    format.setFontFamilies({family});
    format.setProperty(FontFamilyKey, family);
}

bool IsRtf(const QByteArray& data)
{
    qsizetype start = 0;
    while (start < data.size() && (data.at(start) == ' ' || data.at(start) == '\t' || data.at(start) == '\r'
                                   || data.at(start) == '\n'))
        ++start;
    return QByteArrayView(data).sliced(start).startsWith("{\\rtf");
}

void ReadRtf(const QByteArray& data, QTextDocument* document)
{
    document->clear();
    QTextCursor cursor(document);
    // One edit block: the editor lays the text out once.
    cursor.beginEditBlock();
    if (IsRtf(data))
        RtfParser(data, cursor).Run();
    else
        cursor.insertText(plainText(data));
    cursor.endEditBlock();
}

#include "Criteria.h"

#include "SqliteCollation.h"

#include <QDate>

namespace {

enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };

struct Token {
    enum Kind { End, Name, Symbol, Text, Date, Number } kind = End;
    QString text;
    int at = 0;
};


// M/d/yyyy with an optional time part (dropped).
QDate parseUsDate(const QString& text)
{
    const QString date = text.section(QLatin1Char(' '), 0, 0);
    const QStringList parts = date.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    bool okMonth = false, okDay = false, okYear = false;
    const int month = parts[0].toInt(&okMonth);
    const int day = parts[1].toInt(&okDay);
    const int year = parts[2].toInt(&okYear);
    if (!okMonth || !okDay || !okYear || parts[2].size() != 4)
        return {};
    return QDate(year, month, day);
}

bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

class Lexer {
public:
    explicit Lexer(const QString& text) : text_(text) {}

    bool Next(Token* token, QString* error)
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        token->at = static_cast<int>(pos_);
        token->text.clear();
        if (pos_ >= text_.size()) {
            token->kind = Token::End;
            return true;
        }
        const QChar c = text_[pos_];
        if (c == QLatin1Char('\''))
            return quoted(token, error);
        if (c == QLatin1Char('#'))
            return enclosed(token, Token::Date, QLatin1Char('#'), error);
        if (c == QLatin1Char('['))
            return enclosed(token, Token::Name, QLatin1Char(']'), error);
        if (isNameStart(c)) {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && isNameChar(text_[pos_]))
                ++pos_;
            token->kind = Token::Name;
            token->text = text_.mid(start, pos_ - start);
            return true;
        }
        if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('+')) && pos_ + 1 < text_.size()
                            && text_[pos_ + 1].isDigit())) {
            const qsizetype start = pos_++;
            while (pos_ < text_.size() && (text_[pos_].isDigit() || text_[pos_] == QLatin1Char('.')))
                ++pos_;
            token->kind = Token::Number;
            token->text = text_.mid(start, pos_ - start);
            return true;
        }
        static const char* const symbols[] = {"<>", "<=", ">=", "=", "<", ">", "(", ")"};
        for (const char* symbol : symbols) {
            const QLatin1String s(symbol);
            if (QStringView(text_).mid(pos_).startsWith(s)) {
                pos_ += s.size();
                token->kind = Token::Symbol;
                token->text = s;
                return true;
            }
        }
        *error = QStringLiteral("unexpected \"%1\" at position %2").arg(c).arg(pos_ + 1);
        return false;
    }

private:
    bool quoted(Token* token, QString* error)
    {
        const qsizetype start = pos_++;
        QString value;
        while (pos_ < text_.size()) {
            if (text_[pos_] == QLatin1Char('\'')) {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == QLatin1Char('\'')) {
                    value += QLatin1Char('\'');
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                token->kind = Token::Text;
                token->text = value;
                return true;
            }
            value += text_[pos_++];
        }
        *error = QStringLiteral("unterminated text starting at position %1").arg(start + 1);
        return false;
    }

    bool enclosed(Token* token, Token::Kind kind, QChar close, QString* error)
    {
        const qsizetype start = pos_++;
        const qsizetype end = text_.indexOf(close, pos_);
        if (end < 0) {
            *error = QStringLiteral("unterminated %1 starting at position %2").arg(text_[start]).arg(start + 1);
            return false;
        }
        token->kind = kind;
        token->text = text_.mid(pos_, end - pos_).trimmed();
        pos_ = end + 1;
        return true;
    }

    const QString& text_;
    qsizetype pos_ = 0;
};

bool isKeyword(const Token& token, const char* word)
{
    return token.kind == Token::Name && token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const Token& token, const char* symbol)
{
    return token.kind == Token::Symbol && token.text == QLatin1String(symbol);
}


}  // namespace

struct Criteria::Node {
    enum Kind { And, Or, Compare } kind = Compare;
    int left = -1;
    int right = -1;
    int field = -1;
    Op op = Op::Equal;
    QVariant value;
    // LIKE: the literal runs between the wildcards.
    QStringList runs;
    bool anyFirst = false;
    bool anyLast = false;
};

namespace {

using Node = Criteria::Node;

void compileLike(const QString& pattern, Node* node)
{
    QString run;
    bool lastWasAny = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('*') || c == QLatin1Char('%')) {
            if (node->runs.isEmpty() && run.isEmpty())
                node->anyFirst = true;
            if (!run.isEmpty())
                node->runs.append(run);
            run.clear();
            lastWasAny = true;
            continue;
        }
        lastWasAny = false;
        if (c == QLatin1Char('[') && i + 2 < pattern.size() && pattern[i + 2] == QLatin1Char(']')) {
            run += pattern[i + 1];
            i += 2;
        } else {
            run += c;
        }
    }
    if (!run.isEmpty())
        node->runs.append(run);
    node->anyLast = lastWasAny;
}

bool likeMatches(const Node& node, QStringView value)
{
    const QStringList& runs = node.runs;
    if (runs.isEmpty())
        return node.anyFirst || value.isEmpty();
    if (!node.anyFirst && !node.anyLast && runs.size() == 1)
        return CompareNoCase(value, runs[0]) == 0;
    qsizetype pos = 0;
    qsizetype limit = value.size();
    qsizetype first = 0;
    qsizetype last = runs.size() - 1;
    if (!node.anyFirst) {
        if (!value.startsWith(runs[0], Qt::CaseInsensitive))
            return false;
        pos = runs[0].size();
        first = 1;
    }
    if (!node.anyLast) {
        const QString& tail = runs[last];
        if (value.size() - tail.size() < pos || !value.endsWith(tail, Qt::CaseInsensitive))
            return false;
        limit = value.size() - tail.size();
        --last;
    }
    for (qsizetype i = first; i <= last; ++i) {
        const qsizetype at = value.indexOf(runs[i], pos, Qt::CaseInsensitive);
        if (at < 0 || at + runs[i].size() > limit)
            return false;
        pos = at + runs[i].size();
    }
    return true;
}

class Parser {
public:
    Parser(const QString& text, const QList<FieldInfo>& fields, QString* error)
        : lexer_(text), fields_(fields), error_(error)
    {
    }

    bool Run(std::vector<Node>* nodes, int* root)
    {
        nodes_ = nodes;
        if (!advance())
            return false;
        *root = parseOr();
        if (*root < 0)
            return false;
        if (token_.kind != Token::End)
            return fail(QStringLiteral("unexpected \"%1\"").arg(token_.text));
        return true;
    }

private:
    bool advance() { return lexer_.Next(&token_, error_); }

    bool fail(const QString& what)
    {
        if (error_->isEmpty())
            *error_ = QStringLiteral("%1 at position %2").arg(what).arg(token_.at + 1);
        return false;
    }

    int join(Node::Kind kind, int left, int right)
    {
        Node node;
        node.kind = kind;
        node.left = left;
        node.right = right;
        nodes_->push_back(node);
        return static_cast<int>(nodes_->size()) - 1;
    }

    int parseOr()
    {
        int left = parseAnd();
        while (left >= 0 && isKeyword(token_, "OR")) {
            if (!advance())
                return -1;
            const int right = parseAnd();
            left = right < 0 ? -1 : join(Node::Or, left, right);
        }
        return left;
    }

    int parseAnd()
    {
        int left = parsePrimary();
        while (left >= 0 && isKeyword(token_, "AND")) {
            if (!advance())
                return -1;
            const int right = parsePrimary();
            left = right < 0 ? -1 : join(Node::And, left, right);
        }
        return left;
    }

    int parsePrimary()
    {
        if (isSymbol(token_, "(")) {
            if (!advance())
                return -1;
            const int inner = parseOr();
            if (inner < 0)
                return -1;
            if (!isSymbol(token_, ")")) {
                fail(QStringLiteral("missing \")\""));
                return -1;
            }
            return advance() ? inner : -1;
        }
        return parseComparison();
    }

    int parseComparison()
    {
        if (token_.kind != Token::Name || isKeyword(token_, "AND") || isKeyword(token_, "OR")) {
            fail(QStringLiteral("a field name expected"));
            return -1;
        }
        Node node;
        node.field = FieldIndexOf(fields_, token_.text);
        if (node.field < 0) {
            fail(QStringLiteral("unknown field \"%1\"").arg(token_.text));
            return -1;
        }
        if (!advance())
            return -1;
        if (!parseOperator(&node.op))
            return -1;
        if (!advance())
            return -1;
        QVariant literal;
        if (!parseValue(&literal))
            return -1;
        const FieldInfo& field = fields_[node.field];
        if (node.op == Op::Like) {
            if (literal.typeId() != QMetaType::QString) {
                fail(QStringLiteral("LIKE needs a quoted pattern"));
                return -1;
            }
            compileLike(literal.toString(), &node);
        } else if (!ToColumnValue(field.type, literal, &node.value)) {
            fail(QStringLiteral("the value does not fit the field \"%1\"").arg(field.name));
            return -1;
        }
        if (!advance())
            return -1;
        nodes_->push_back(node);
        return static_cast<int>(nodes_->size()) - 1;
    }

    bool parseOperator(Op* op)
    {
        if (isKeyword(token_, "LIKE")) {
            *op = Op::Like;
            return true;
        }
        static const struct {
            const char* symbol;
            Op op;
        } table[] = {{"=", Op::Equal},  {"<>", Op::NotEqual},  {"<", Op::Less},
                     {">", Op::Greater}, {"<=", Op::LessEqual}, {">=", Op::GreaterEqual}};
        for (const auto& entry : table) {
            if (isSymbol(token_, entry.symbol)) {
                *op = entry.op;
                return true;
            }
        }
        return fail(QStringLiteral("a comparison expected"));
    }

    bool parseValue(QVariant* value)
    {
        switch (token_.kind) {
        case Token::Text:
            *value = token_.text;
            return true;
        case Token::Date: {
            QDate date = ParseIsoDate(token_.text);
            if (!date.isValid())
                date = parseUsDate(token_.text);
            if (!date.isValid())
                return fail(QStringLiteral("invalid date #%1#").arg(token_.text));
            *value = date;
            return true;
        }
        case Token::Number: {
            bool ok = false;
            const qint64 whole = token_.text.toLongLong(&ok);
            if (ok) {
                *value = whole;
                return true;
            }
            const double number = token_.text.toDouble(&ok);
            if (!ok)
                return fail(QStringLiteral("invalid number %1").arg(token_.text));
            *value = number;
            return true;
        }
        case Token::Name:
            if (isKeyword(token_, "True") || isKeyword(token_, "False")) {
                *value = isKeyword(token_, "True");
                return true;
            }
            break;
        default:
            break;
        }
        return fail(QStringLiteral("a value expected"));
    }

    Lexer lexer_;
    const QList<FieldInfo>& fields_;
    QString* error_;
    Token token_;
    std::vector<Node>* nodes_ = nullptr;
};

}  // namespace

std::optional<Criteria> Criteria::Parse(const QString& text, const QList<FieldInfo>& fields, QString* error)
{
    error->clear();
    Criteria criteria;
    if (text.trimmed().isEmpty())
        return criteria;
    auto nodes = std::make_shared<std::vector<Node>>();
    Parser parser(text, fields, error);
    if (!parser.Run(nodes.get(), &criteria.root_))
        return std::nullopt;
    criteria.nodes_ = std::move(nodes);
    return criteria;
}

bool Criteria::Matches(std::span<const QVariant> values) const
{
    return !nodes_ || matches(root_, values);
}

bool Criteria::matches(int index, std::span<const QVariant> values) const
{
    const Node& node = (*nodes_)[index];
    switch (node.kind) {
    case Node::And:
        return matches(node.left, values) && matches(node.right, values);
    case Node::Or:
        return matches(node.left, values) || matches(node.right, values);
    case Node::Compare:
        break;
    }
    const QVariant& value = values[node.field];
    if (IsNullValue(value))
        return false;
    if (node.op == Op::Like) {
        QStringView text;
        if (TextOf(value, &text))
            return likeMatches(node, text);
        return likeMatches(node, ValueText(value));
    }
    const int order = CompareValues(value, node.value);
    switch (node.op) {
    case Op::Equal:
        return order == 0;
    case Op::NotEqual:
        return order != 0;
    case Op::Less:
        return order < 0;
    case Op::Greater:
        return order > 0;
    case Op::LessEqual:
        return order <= 0;
    case Op::GreaterEqual:
        return order >= 0;
    case Op::Like:
        break;
    }
    return false;
}

QString Criteria::Quote(const QString& value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString Criteria::LiteralPrefix(const QString& prefix)
{
    QString pattern;
    for (QChar c : prefix) {
        if (c == QLatin1Char('*') || c == QLatin1Char('%') || c == QLatin1Char('['))
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        else
            pattern += c;
    }
    return Quote(pattern + QLatin1Char('*'));
}

#pragma once

#include "FieldValue.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <span>
#include <vector>

// A filter or find text as the windows write it: comparisons of a field with a value
// (=, <>, <, >, <=, >=, LIKE) joined by AND and OR (AND binds closer), grouped with
// parentheses. Values: 'text' (a quote inside written twice), #date# (yyyy-mm-dd or
// m/d/yyyy), numbers, True and False; each is converted to the field's type when the
// text is parsed. In a LIKE pattern "*" and "%" stand for any run of characters and
// "[c]" for the character c itself. Texts compare without regard to letter case
// (CompareNoCase); a NULL field satisfies no comparison, so NULL and "" stay apart.
// Values are matched as data: nothing here is ever handed to SQL.
class Criteria {
public:
    // The empty text gives criteria that every row meets. A malformed text, an
    // unknown field or a value that does not fit its field gives nothing and *error.
    static std::optional<Criteria> Parse(const QString& text, const QList<FieldInfo>& fields, QString* error);

    bool IsEmpty() const { return !nodes_; }
    bool Matches(std::span<const QVariant> values) const;

    // The quoted form of a value for a criteria text: O'Brien -> 'O''Brien'.
    static QString Quote(const QString& value);
    // A quoted LIKE value for every text that begins with prefix, taken literally:
    // 50% -> '50[%]*'.
    static QString LiteralPrefix(const QString& prefix);

    struct Node;

private:
    bool matches(int node, std::span<const QVariant> values) const;

    std::shared_ptr<const std::vector<Node>> nodes_;
    int root_ = -1;
};

// A sort text: "Field", "Field ASC, Other DESC".
struct SortKey {
    int field = 0;
    bool descending = false;
};
std::optional<QList<SortKey>> ParseSort(const QString& text, const QList<FieldInfo>& fields, QString* error);

// Order of two values of one column: NULL first, texts without regard to case.
int CompareValues(const QVariant& a, const QVariant& b);

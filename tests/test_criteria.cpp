#include "core/SourceText.h"
#include "platform/Criteria.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

const QList<FieldInfo> Fields = {{s("Name"), ColumnType::Text},
                                 {s("Day"), ColumnType::Date},
                                 {s("Done"), ColumnType::Boolean},
                                 {s("Id"), ColumnType::Integer}};

std::vector<QVariant> row(const QVariant& name, const QVariant& day = QVariant(), const QVariant& done = QVariant(),
                          const QVariant& id = QVariant())
{
    return {name, day, done, id};
}

// Whether criteria text matches a row; the text must parse.
bool meets(const QString& text, const std::vector<QVariant>& values)
{
    QString error;
    const std::optional<Criteria> criteria = Criteria::Parse(text, Fields, &error);
    EXPECT_TRUE(criteria.has_value()) << text.toStdString() << ": " << error.toStdString();
    return criteria && criteria->Matches(values);
}

bool meets(const char* text, const std::vector<QVariant>& values) { return meets(s(text), values); }

}  // namespace

TEST(CriteriaCompare, EqualityIgnoresLetterCaseForLatinAndCyrillic)
{
    EXPECT_TRUE(meets("Name = 'work'", row(s("Work"))));
    EXPECT_TRUE(meets("name = 'ОФИС'", row(s("офис"))));
    EXPECT_TRUE(meets("Name = 'Ёлка'", row(s("ёЛКА"))));
    EXPECT_FALSE(meets("Name = 'Work'", row(s("Works"))));
    EXPECT_TRUE(meets("Name <> 'Home'", row(s("Work"))));
    EXPECT_FALSE(meets("Name <> 'HOME'", row(s("home"))));
    EXPECT_TRUE(meets("Name < 'b'", row(s("A"))));
    EXPECT_TRUE(meets("Name >= 'Б'", row(s("б"))));
}

TEST(CriteriaCompare, NullMeetsNothingAndStaysApartFromTheEmptyText)
{
    EXPECT_TRUE(meets("Name <> ''", row(s("Ann"))));
    EXPECT_FALSE(meets("Name <> ''", row(s(""))));
    EXPECT_FALSE(meets("Name <> ''", row(QVariant())));
    EXPECT_TRUE(meets("Name = ''", row(s(""))));
    EXPECT_FALSE(meets("Name = ''", row(QVariant())));
    EXPECT_FALSE(meets("Name LIKE '*'", row(QVariant())));
    EXPECT_TRUE(meets("Name LIKE '*'", row(s(""))));
}

TEST(CriteriaLike, StarAndPercentStandForAnyRest)
{
    EXPECT_TRUE(meets("Name LIKE 'Wor*'", row(s("work"))));
    EXPECT_TRUE(meets("Name LIKE 'Wor*'", row(s("Wor"))));
    EXPECT_TRUE(meets("Name LIKE 'wor%'", row(s("WORKSHOP"))));
    EXPECT_FALSE(meets("Name LIKE 'Wor*'", row(s("Awork"))));
    EXPECT_TRUE(meets("Name LIKE '*shop'", row(s("Workshop"))));
    EXPECT_FALSE(meets("Name LIKE '*shop'", row(s("shops"))));
    EXPECT_TRUE(meets("Name LIKE '*ОФ*'", row(s("Наш офис"))));
    EXPECT_TRUE(meets("Name LIKE 'a*b*c'", row(s("aXXbYYc"))));
    EXPECT_FALSE(meets("Name LIKE 'ab*ba'", row(s("aba"))));
    EXPECT_TRUE(meets("Name LIKE 'Work'", row(s("WORK"))));
    EXPECT_FALSE(meets("Name LIKE 'Work'", row(s("Workshop"))));
    EXPECT_TRUE(meets("Name LIKE 'a_c'", row(s("a_c"))));
    EXPECT_FALSE(meets("Name LIKE 'a_c'", row(s("abc"))));
    EXPECT_TRUE(meets("Id LIKE '12*'", row(s("x"), {}, {}, qint64(125))));
}

TEST(CriteriaLogic, AndBindsCloserThanOrAndParenthesesGroup)
{
    const auto ann = row(s("Ann"), {}, true, qint64(1));
    const auto bob = row(s("Bob"), {}, false, qint64(2));
    EXPECT_TRUE(meets("Name = 'Bob' OR Name = 'Ann' AND Done = False", bob));
    EXPECT_FALSE(meets("Name = 'Bob' OR Name = 'Ann' AND Done = False", ann));
    EXPECT_FALSE(meets("(Name = 'Bob' OR Name = 'Ann') AND Done = False", ann));
    EXPECT_TRUE(meets("(Name = 'Bob' OR Name = 'Ann') and (Id > 1 or Done = True)", ann));
    EXPECT_TRUE(meets("Name LIKE 'A*' AND Id = 1 AND Done = -1", ann));
}

TEST(CriteriaValues, DatesNumbersAndFlagsAreMatchedByTheirFieldType)
{
    const auto event = row(s("x"), QDate(2024, 3, 5), true, qint64(42));
    EXPECT_TRUE(meets("Day = #2024-03-05#", event));
    EXPECT_TRUE(meets("Day = #3/5/2024#", event));
    EXPECT_TRUE(meets("Day = #2024-03-05 10:30:00#", event));
    EXPECT_TRUE(meets("Day = '2024-03-05'", event));
    EXPECT_TRUE(meets("Day > #2024-03-04# AND Day < #2024-03-06#", event));
    EXPECT_FALSE(meets("Day <> #2024-03-05#", event));
    EXPECT_TRUE(meets("Id = '42'", event));
    EXPECT_TRUE(meets("Id = 42", event));
    EXPECT_TRUE(meets("Id >= 42 AND Id <= 42.0", event));
    EXPECT_FALSE(meets("Id = -42", event));
    EXPECT_TRUE(meets("Done = True", event));
    EXPECT_TRUE(meets("Done = 'true'", event));
    EXPECT_FALSE(meets("Done = 0", event));
    EXPECT_TRUE(meets("Name = 5", row(s("5"))));
    EXPECT_TRUE(meets("[Name] = 'x'", event));
}

TEST(CriteriaQuote, ApostrophesAlwaysWork)
{
    EXPECT_EQ(Criteria::Quote(s("O'Brien")), s("'O''Brien'"));
    EXPECT_EQ(Criteria::Quote(s("")), s("''"));
    EXPECT_TRUE(meets(s("Name = ") + Criteria::Quote(s("O'Brien")), row(s("o'brien"))));
    EXPECT_TRUE(meets(s("Name = ") + Criteria::Quote(s("''")), row(s("''"))));
    EXPECT_FALSE(meets(s("Name = ") + Criteria::Quote(s("O'Brien")), row(s("OBrien"))));
    EXPECT_TRUE(meets(s("Name LIKE ") + Criteria::LiteralPrefix(s("D'Ar")), row(s("d'Artagnan"))));
}

TEST(CriteriaQuote, LiteralPrefixTakesWildcardsAsTheyAre)
{
    EXPECT_EQ(Criteria::LiteralPrefix(s("50%")), s("'50[%]*'"));
    const QString star = s("Name LIKE ") + Criteria::LiteralPrefix(s("A*"));
    EXPECT_TRUE(meets(star, row(s("a*b"))));
    EXPECT_TRUE(meets(star, row(s("A*"))));
    EXPECT_FALSE(meets(star, row(s("AB"))));
    const QString percent = s("Name LIKE ") + Criteria::LiteralPrefix(s("50%"));
    EXPECT_TRUE(meets(percent, row(s("50% off"))));
    EXPECT_FALSE(meets(percent, row(s("500"))));
    const QString bracket = s("Name LIKE ") + Criteria::LiteralPrefix(s("[x]"));
    EXPECT_TRUE(meets(bracket, row(s("[x] y"))));
    EXPECT_FALSE(meets(bracket, row(s("x y"))));
    EXPECT_TRUE(meets(s("Name LIKE ") + Criteria::LiteralPrefix(s("")), row(s("anything"))));
}

TEST(CriteriaParse, EmptyTextMeetsEveryRow)
{
    QString error;
    const auto criteria = Criteria::Parse(s("  "), Fields, &error);
    ASSERT_TRUE(criteria.has_value());
    EXPECT_TRUE(criteria->IsEmpty());
    EXPECT_TRUE(criteria->Matches(row(QVariant())));
}

TEST(CriteriaParse, MalformedTextsAreErrorsNeverCrashes)
{
    const char* const texts[] = {"Name =",           "Name = 'abc",     "= 'a'",          "Nope = 1",
                                 "Name = 'a' AND",   "(Name = 'a'",     "Name = 'a')",    "Name LIKE 5",
                                 "Day = #2024-13-45#", "Name = 'a' junk", "Name ! 'a'",    "#",
                                 "Day = #2024-01-01", "Id = 'abc'",     "Done = 'maybe'", "Name 'a'",
                                 "Name = 'O'Brien'", "AND = 1",         "Id = 1.5",       "[Name = 'a'",
                                 "Name == 'a'",      "Name = Bob",      "Name = 1.2.3",   "Day = 5"};
    for (const char* text : texts) {
        QString error;
        EXPECT_FALSE(Criteria::Parse(s(text), Fields, &error).has_value()) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
}

TEST(SortParse, FieldsWithDirectionsAndUnknownNames)
{
    QString error;
    const auto keys = ParseSort(s("Name DESC, id, [Day] asc"), Fields, &error);
    ASSERT_TRUE(keys.has_value()) << error.toStdString();
    ASSERT_EQ(keys->size(), 3);
    EXPECT_EQ((*keys)[0].field, 0);
    EXPECT_TRUE((*keys)[0].descending);
    EXPECT_EQ((*keys)[1].field, 3);
    EXPECT_FALSE((*keys)[1].descending);
    EXPECT_EQ((*keys)[2].field, 1);
    EXPECT_TRUE(ParseSort(s(""), Fields, &error)->isEmpty());
    EXPECT_FALSE(ParseSort(s("Nope"), Fields, &error).has_value());
    EXPECT_FALSE(ParseSort(s("Name,"), Fields, &error).has_value());
}

TEST(SortParse, ValuesOrderNullFirstAndTextWithoutCase)
{
    EXPECT_LT(CompareValues(QVariant(), s("")), 0);
    EXPECT_EQ(CompareValues(QVariant(), QVariant()), 0);
    EXPECT_EQ(CompareValues(s("abc"), s("ABC")), 0);
    EXPECT_LT(CompareValues(s("apple"), s("Banana")), 0);
    EXPECT_LT(CompareValues(QDate(2020, 1, 2), QDate(2020, 1, 3)), 0);
    EXPECT_LT(CompareValues(false, true), 0);
    EXPECT_GT(CompareValues(qint64(10), qint64(9)), 0);
}

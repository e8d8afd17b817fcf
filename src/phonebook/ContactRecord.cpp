#include "ContactRecord.h"

#include "core/Fatal.h"
#include "core/Options.h"
#include "platform/Criteria.h"

namespace {

const char* const FieldNames[Contact::FieldCount] = {
    "Groupe_Name", "Second_Name", "First_Name", "Third_Name", "Home_Mobile", "Home_Phone", "Personal_Photo",
    "Personal_Date", "Home_Country", "Home_Region", "Home_City", "Home_Index", "Home_Fax", "Home_Adress",
    "Home_Mobile_Reserve", "Inet_ICQ", "Inet_MSN", "Inet_Skype", "Inet_Email", "Inet_Email_2", "Home_Web",
    "Work_Place", "Work_Post", "Work_Region", "Work_City", "Work_Adress", "Work_Phone", "Work_Fax",
    "Personal_Sex", "Personal_Status", "Personal_Childrens", "Personal_StatusDate", "Personal_MEMO", "Reserve",
    "ID",
};

const char* const CaptionKeys[Contact::FieldCount] = {
    "mes227", "mes93",  "mes92",  "mes94",  "mes96",  "mes95",  "mes90",  "mes97",  "mes120",
    "mes121", "mes122", "mes123", "mes124", "mes119", "mes228", "mes106", "mes107", "mes108",
    "mes109", "mes110", "mes105", "mes112", "mes113", "mes114", "mes115", "mes116", "mes117",
    "mes118", "mes98",  "mes99",  "mes100", "mes101", "mes128", "mes228", nullptr,
};

const QString Section = QStringLiteral("PhoneGridView");

}  // namespace

QString Contact::FieldName(int ordinal)
{
    return ordinal >= 0 && ordinal < FieldCount ? QString::fromLatin1(FieldNames[ordinal]) : QString();
}

int GridColumnField(int column)
{
    if (column == 1)
        return Contact::First_Name;
    if (column == 2)
        return Contact::Second_Name;
    return column;
}

const char* GridCaptionKey(int column)
{
    return column >= 0 && column < Contact::FieldCount ? CaptionKeys[column] : nullptr;
}

bool GridColumnNeverShown(int column)
{
    return column == 0 || column == 6 || column == 14 || column == 33 || column == 34;
}

QString AllContactsFilter() { return QStringLiteral("First_Name <> ''"); }

QString GroupFilter(const QString& storedName) { return QStringLiteral("Groupe_Name = ") + Criteria::Quote(storedName); }

QString SearchFilter(int column, const QString& text)
{
    static const char* const fields[] = {"Second_Name", "First_Name", "Home_Mobile"};
    const int field = column >= 0 && column < 3 ? column : 0;
    return QString::fromLatin1(fields[field]) + QStringLiteral(" LIKE ") + Criteria::LiteralPrefix(text);
}

QList<int> ChoosableGridColumns()
{
    QList<int> columns;
    for (int column = 2; column < Contact::FieldCount; ++column) {
        if (!GridColumnNeverShown(column))
            columns.append(column);
    }
    return columns;
}

QString ColumnChoiceKey(int gridColumn) { return QStringLiteral("col") + QString::number(gridColumn); }

QList<bool> ReadColumnChoice()
{
    QList<bool> shown;
    for (int column : ChoosableGridColumns()) {
        const std::optional<bool> flag = ReadFlagSetting(ReadOption(Section, ColumnChoiceKey(column)));
        if (!flag)
            FatalEnd(GetLangText(QStringLiteral("mes294")));
        shown.append(*flag);
    }
    return shown;
}

bool WriteColumnChoice(const QList<bool>& shown)
{
    const QList<int> columns = ChoosableGridColumns();
    QList<std::pair<QString, QString>> values;
    for (int i = 0; i < columns.size() && i < shown.size(); ++i)
        values.append({ColumnChoiceKey(columns[i]), shown[i] ? QStringLiteral("True") : QStringLiteral("False")});
    return WriteOptions(Section, values);
}

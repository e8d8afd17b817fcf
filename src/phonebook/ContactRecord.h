#pragma once

#include <QList>
#include <QString>

// A contact is a row of tbl_Phones: 35 columns in a fixed order that code also
// addresses by position. Empty boxes are stored as empty texts; only the two dates
// use NULL, for a date not given. Home_Mobile_Reserve, Reserve and ID are never
// written by the phone book.
namespace Contact {

enum Ordinal {
    Groupe_Name, Second_Name, First_Name, Third_Name, Home_Mobile, Home_Phone, Personal_Photo, Personal_Date,
    Home_Country, Home_Region, Home_City, Home_Index, Home_Fax, Home_Adress, Home_Mobile_Reserve, Inet_ICQ,
    Inet_MSN, Inet_Skype, Inet_Email, Inet_Email_2, Home_Web, Work_Place, Work_Post, Work_Region, Work_City,
    Work_Adress, Work_Phone, Work_Fax, Personal_Sex, Personal_Status, Personal_Childrens, Personal_StatusDate,
    Personal_MEMO, Reserve, ID,
};
constexpr int FieldCount = 35;

QString FieldName(int ordinal);
constexpr bool IsDate(int ordinal) { return ordinal == Personal_Date || ordinal == Personal_StatusDate; }

// The photo path the table keeps at most.
constexpr int MaxPhotoPath = 255;

}  // namespace Contact

// The phone-book grid numbers its columns as the table does, except that column 1
// shows the given name and column 2 the surname.
int GridColumnField(int column);
// The language key of a grid column's heading; nullptr for column 34 ("ID").
const char* GridCaptionKey(int column);
// Columns 0, 6, 14, 33 and 34 are never shown; column 1 always is.
bool GridColumnNeverShown(int column);

// Filters the phone book puts on rstbl_Phones. Names and typed texts are matched
// literally, letter case ignored.
QString AllContactsFilter();
QString GroupFilter(const QString& storedName);
// Entry 0 the surname, 1 the given name, 2 the mobile phone: the rows whose value
// begins with the text.
QString SearchFilter(int column, const QString& text);

// Section "PhoneGridView" of options.ini: "col" + the grid column number, "True" or
// "False", for the 29 columns the user may hide, in the column chooser's order.
QList<int> ChoosableGridColumns();
QString ColumnChoiceKey(int gridColumn);
// The 29 flags in that order. A value that is not a flag (a missing key included)
// shows "mes294" and ends the program.
QList<bool> ReadColumnChoice();
// All 29 keys in one rewrite of options.ini.
[[nodiscard]] bool WriteColumnChoice(const QList<bool>& shown);

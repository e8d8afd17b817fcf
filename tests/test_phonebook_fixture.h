#pragma once

// Shared set-up of the phone-book tests: contacts and groups written straight into
// the phone-book database, the phone book opened from the main window, and the
// grid read back.

#include "test_event_fixture.h"

#include "phonebook/ContactGridModel.h"
#include "phonebook/ContactRecord.h"
#include "phonebook/frmCntAdd.h"
#include "phonebook/frmCntSearch.h"
#include "phonebook/frmCntTable.h"
#include "phonebook/frmGroupes.h"
#include "phonebook/frmPhones.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

class PhoneBookTest : public EventWindowTest {
protected:
    static Connection& phoneDb()
    {
        Connection& connection = DataEnvironment1().Connection2;
        OpenIfClosed(connection);
        return connection;
    }
    static Recordset& contacts() { return DataEnvironment1().rstbl_Phones; }

    static qint64 addContact(const QString& given, const QString& surname = QString(),
                             const QString& group = s("General"), const QString& mobile = QString())
    {
        EXPECT_TRUE(phoneDb()
                        .Execute(s("INSERT INTO tbl_Phones (Groupe_Name, Second_Name, First_Name, Home_Mobile) "
                                   "VALUES (?, ?, ?, ?)"),
                                 {group, surname, given, mobile})
                        .Ok());
        return phoneRows("SELECT max(ID) FROM tbl_Phones").value(0).value(0).toLongLong();
    }
    static void addGroup(const QString& name)
    {
        EXPECT_TRUE(phoneDb().Execute(s("INSERT INTO tbl_Groupes (Groupe_Name) VALUES (?)"), {name}).Ok());
    }
    static QList<QVariantList> phoneRows(const char* sql, const QVariantList& parameters = {})
    {
        QList<QVariantList> result;
        EXPECT_TRUE(phoneDb().Query(s(sql), parameters, &result).Ok());
        return result;
    }
    static QVariantList contactRow(qint64 id)
    {
        return phoneRows("SELECT * FROM tbl_Phones WHERE ID = ?", {id}).value(0);
    }
    static QStringList groupNames()
    {
        QStringList names;
        for (const QVariantList& row : phoneRows("SELECT Groupe_Name FROM tbl_Groupes ORDER BY Groupe_ID"))
            names.append(row.value(0).toString());
        return names;
    }

    // The phone book, opened from the main window's toolbar where the main window stood.
    static frmPhones& open()
    {
        main().ShowModeless();
        main().Move(1500, 900);
        main().ToolbarButton(6)->trigger();
        return Forms::Get<frmPhones>();
    }
    static frmPhones& phones() { return Forms::Get<frmPhones>(); }

    // The texts of one grid column, top to bottom.
    static QStringList column(int gridColumn = 1)
    {
        const ContactGridModel* model = phones().GridModel;
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, gridColumn).data().toString());
        return texts;
    }
    // A user's choice of a group-list entry, also of the entry already chosen.
    static void chooseGroup(int entry)
    {
        QComboBox* list = phones().Combo1;
        list->setCurrentIndex(entry);
        emit list->activated(entry);
    }
    static void selectContact(const QString& given)
    {
        const int row = column().indexOf(given);
        ASSERT_GE(row, 0) << given.toStdString();
        phones().DataGrid1->setCurrentIndex(phones().GridModel->index(row, 1));
    }
    static bool editCell(int row, int gridColumn, const QString& text)
    {
        ContactGridModel* model = phones().GridModel;
        return model->setData(model->index(row, gridColumn), text, Qt::EditRole);
    }
    static QString label() { return phones().LabelFilter->text(); }

    // The search window beside the phone book, searching a column for a text.
    static void search(int searchColumn, const QString& text)
    {
        phones().Toolbar1_ButtonClick(10);
        frmCntSearch& window = Forms::Get<frmCntSearch>();
        window.Combo1->setCurrentIndex(searchColumn);
        window.Text1->setText(text);
        window.cmdOK_Click();
    }
};

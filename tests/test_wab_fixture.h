#pragma once

// Shared set-up of the import-wizard tests: a prepared user folder, the fixtures'
// vdir as the user's address book, the phone book's recordset open as the phone
// book keeps it, and the general group's stored name known.

#include "test_mainwin_fixture.h"
#include "vcard_fixtures.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/frmProcess.h"
#include "phonebook/frmWAB.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class WabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.PrepareUser(Language());
        Fixtures::WriteVdir(AddressBook::DefaultSource());
        OpenIfClosed(DataEnvironment1().rstbl_Phones);
        QComboBox groups;
        FillGroupCombo(&groups);
    }

    virtual QString Language() const { return s("English"); }

    static frmWAB& wizard() { return Forms::Get<frmWAB>(); }

    static QTreeWidgetItem* node(const QString& key)
    {
        for (QTreeWidgetItemIterator it(wizard().tvFolders); *it; ++it) {
            if (NodeKey(*it) == key)
                return *it;
        }
        ADD_FAILURE() << "no node " << key.toStdString();
        return nullptr;
    }

    static QStringList column(int index)
    {
        const ContactListModel* list = wizard().ListModel;
        QStringList texts;
        for (int row = 0; row < list->rowCount(); ++row)
            texts.append(list->index(row, index).data().toString());
        return texts;
    }

    static void select(std::initializer_list<int> rows)
    {
        wizard().ListView1->clearSelection();
        for (const int row : rows)
            wizard().ListView1->selectionModel()->select(wizard().ListModel->index(row, 0),
                                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    static int selectedCount() { return int(wizard().ListView1->selectionModel()->selectedRows().size()); }

    static QList<QVariantList> phones(const char* columns)
    {
        QList<QVariantList> rows;
        EXPECT_TRUE(DataEnvironment1()
                        .Connection2.Query(s("SELECT ") + s(columns) + s(" FROM tbl_Phones ORDER BY ID"), {}, &rows)
                        .Ok());
        return rows;
    }

    static QStringList messages()
    {
        QStringList texts;
        for (const MsgBoxScript::Shown& shown : MsgBoxScript::Log())
            texts.append(shown.text);
        return texts;
    }

    static void pump(int milliseconds = 20)
    {
        QElapsedTimer timer;
        timer.start();
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        while (timer.elapsed() < milliseconds);
    }

    TestEnv env;
};

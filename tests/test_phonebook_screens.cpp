// Pictures of the phone book with fifty contacts in groups and a search in force,
// every page of a filled contact card, the search window, the group manager and
// both pages of the column chooser, in English and in Russian, and the check that
// every caption fits its control.

#include "test_phonebook_fixture.h"
#include "test_screens.h"

#include "platform/DateField.h"

#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class PhoneBookScreens : public PhoneBookTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }

    void shoot(QWidget& window, const char* name) const
    {
        SaveScreen(window, s(name) + s("-") + Language());
        CheckCaptionsFit(window, name);
    }

    static void addFifty()
    {
        const char* const given[] = {"Anna", "Boris", "Claire", "Dmitry", "Emma", "Фёдор", "Галина", "Hugo",
                                     "Ирина", "James"};
        const char* const surnames[] = {"Petrova", "Smith", "Кузнецов", "O'Brien", "Lefèvre"};
        const char* const groups[] = {"General", "Family", "Work", "Friends", "Work"};
        for (const char* group : {"Family", "Work", "Friends"})
            addGroup(s(group));
        for (int i = 0; i < 50; ++i) {
            const qint64 id = addContact(s(given[i % 10]), s(surnames[i % 5]), s(groups[i % 5]),
                                         s("+7 9%1 555-01-%2").arg(i % 10).arg(i, 2, 10, QLatin1Char('0')));
            EXPECT_TRUE(phoneDb()
                            .Execute(s("UPDATE tbl_Phones SET Home_Phone = ?, Personal_Date = ?, Inet_Email = ? "
                                       "WHERE ID = ?"),
                                     {s("495 123-45-%1").arg(i, 2, 10, QLatin1Char('0')),
                                      QDate(1960, 1, 15).addDays(i * 397).toString(Qt::ISODate),
                                      s("%1.%2@example.org").arg(s(given[i % 10]).toLower()).arg(i), id})
                            .Ok());
        }
    }

    static QString photo()
    {
        QImage image(240, 300, QImage::Format_RGB32);
        image.fill(QColor(0x9ab8d8));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0xf1c9a5));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(120, 120), 60, 72);
        painter.setBrush(QColor(0x3c5a80));
        painter.drawEllipse(QPointF(120, 330), 120, 120);
        painter.end();
        const QString path = QDir::homePath() + s("/anna.png");
        EXPECT_TRUE(image.save(path));
        return path;
    }
};

TEST_P(PhoneBookScreens, PhoneBookWithASearch)
{
    addFifty();
    frmPhones& window = open();
    chooseGroup(window.Combo1->findText(s("Work")));
    search(0, s("Pe"));
    shoot(window, "phonebook");
    EXPECT_EQ(window.GridModel->rowCount(), 10);
    frmCntSearch& searchWindow = Forms::Get<frmCntSearch>();
    shoot(searchWindow, "search");
}

TEST_P(PhoneBookScreens, ContactCardPages)
{
    addGroup(s("Family"));
    open();
    frmCntAdd& card = Forms::Get<frmCntAdd>();
    const QList<int> ordinals = frmCntAdd::TextOrdinals();
    const char* const texts[] = {
        "Petrova", "Anna", "Sergeevna", "+7 916 555-01-02", "+7 495 123-45-67", "Russia", "Moscow region",
        "Khimki", "141400", "+7 495 123-45-68", "12 Lenina St, apt. 5", "123456789", "anna@msn.example",
        "anna.petrova", "anna@example.org", "a.petrova@example.com", "www.example.org/anna", "Kelmaro Soft",
        "Lead engineer", "Moscow", "Moscow", "1 Tverskaya St", "+7 495 765-43-21", "+7 495 765-43-22",
        "Ivan Petrov", "Masha, Petya", "Met at the 2019 conference.\nPrefers e-mail.",
    };
    for (int i = 0; i < ordinals.size(); ++i)
        card.SetBoxText(ordinals[i], s(texts[i]));
    card.Check1->setChecked(true);
    card.TextDate->setDate(QDate(1985, 4, 12));
    card.Check2->setChecked(true);
    card.TextWDate->setDate(QDate(2010, 6, 19));
    card.ComboSex->setCurrentIndex(2);
    card.ComboGroupe->setCurrentIndex(1);
    card.ShowPhoto(photo());
    card.show();
    for (int tab = 0; tab < 7; ++tab) {
        card.tbsOptions->setCurrentIndex(tab);
        const std::string name = "card-" + std::to_string(tab + 1);
        shoot(card, name.c_str());
    }
}

TEST_P(PhoneBookScreens, GroupsAndColumnChooser)
{
    for (const char* group : {"Family", "Work", "Friends"})
        addGroup(s(group));
    open();
    frmGroupes& manager = Forms::Get<frmGroupes>();
    manager.Text1Name->setText(s("Neighbours"));
    manager.show();
    shoot(manager, "groups");
    manager.Option2->setChecked(true);
    shoot(manager, "groups-delete");
    Forms::Unload(&manager);

    frmCntTable& chooser = Forms::Get<frmCntTable>();
    chooser.show();
    shoot(chooser, "chooser-columns");
    chooser.tbsOptions->setCurrentIndex(1);
    shoot(chooser, "chooser-import");
}

INSTANTIATE_TEST_SUITE_P(Languages, PhoneBookScreens, ::testing::Values("English", "Russian"));

}  // namespace

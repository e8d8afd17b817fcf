// Pictures of the import wizard (introduction, transfer page, progress panel) over
// Cyrillic cards, in English and in Russian, written to <build>/tests/screens/ for a
// person to look at; and the check that every text fits its control.

#include "test_screens.h"
#include "test_wab_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

class WabScreens : public WabTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }

    void save(QWidget& window, const char* name) const
    {
        SaveScreen(window, s("wab-") + s(name) + s("-") + Language());
        CheckCaptionsFit(window, name);
        for (QLabel* label : window.findChildren<QLabel*>()) {
            if (label->isVisibleTo(&window) && label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
            }
        }
    }
};

TEST_P(WabScreens, PagesAndProgress)
{
    // Cards of a desktop mail client that name no charset: read in the charset of
    // the interface language.
    Fixtures::writeFile(AddressBook::DefaultSource() + s("/family/anna.vcf"), Fixtures::Desktop21(false));
    frmWAB& w = wizard();
    w.show();
    save(w, "intro");

    w.cmdNext->click();
    w.tvFolders->setCurrentItem(node(s("Ffamily")));
    const bool russian = Language() == s("Russian");
    EXPECT_EQ(column(0).first(), russian ? s("Анна") : s("Àííà"));
    EXPECT_EQ(w.ListModel->headerData(1, Qt::Horizontal).toString(), s("Surname"));
    select({0, 1, 3});
    save(w, "transfer");

    bool shown = false;
    QTimer::singleShot(0, [&] {
        save(w, "progress");
            shown = w.fraProgress->isVisible();
    });
    w.cmdTransfer->click();
    EXPECT_TRUE(shown);
}

INSTANTIATE_TEST_SUITE_P(Languages, WabScreens, ::testing::Values("English", "Russian"));

}  // namespace

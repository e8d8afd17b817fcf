// Pictures of the report and backup wizards on each page, in English and in
// Russian, and the check that every caption fits.

#include "test_screens.h"
#include "test_tools_fixture.h"

#include "tools/BackupRestore.h"
#include "tools/frmBackUp.h"
#include "tools/frmReports.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

class ToolsScreens : public ToolsTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }

    void shoot(QWidget& window, const QString& name) const
    {
        SaveScreen(window, name + s("-") + Language());
        CheckCaptionsFit(window, qPrintable(name));
    }
};

TEST_P(ToolsScreens, ReportWizard)
{
    const char* const kinds[] = {"events", "tasks", "contacts"};
    for (int kind = 0; kind < 3; ++kind) {
        frmReports& wizard = Forms::Get<frmReports>();
        wizard.show();
        wizard.Option1[kind]->setChecked(true);
        shoot(wizard, s("reports-page1-") + s(kinds[kind]));
        wizard.cmdNext->click();
        shoot(wizard, s("reports-page2-") + s(kinds[kind]));
        Forms::Unload(&wizard);
    }
}

TEST_P(ToolsScreens, BackupWizard)
{
    for (const bool recorded : {false, true}) {
        if (recorded) {
            ASSERT_TRUE(RegWrite(LastBackupValuePath(), LastBackupText(DataKind::Phones)));
        }
        frmBackUp& wizard = Forms::Get<frmBackUp>();
        wizard.show();
        const QString name = recorded ? s("backup-recorded") : s("backup");
        shoot(wizard, name + s("-page1"));
        wizard.cmdNext->click();
        shoot(wizard, name + s("-page2"));
        Forms::Unload(&wizard);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ToolsScreens, ::testing::Values("English", "Russian"));

}  // namespace

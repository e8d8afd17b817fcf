#include "GroupManager.h"

#include "Fatal.h"
#include "Options.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

template <class T>
T* place(QWidget* parent, const char* name, const TwipsBox& at)
{
    return MakeControl<T>(parent, name, at.left, at.top, at.width, at.height);
}

QString text(const char* key) { return GetLangText(QString::fromLatin1(key)); }

}  // namespace

void BuildGroupManager(Form& form, GroupManagerControls& c, const GroupManagerLayout& at)
{
    form.setFixedSize(Px(at.width), Px(at.height));
    c.tbsOptions = place<QTabWidget>(&form, "tbsOptions", at.tabs);
    c.picOptions = new QWidget;
    c.picOptions->setObjectName(QString::fromLatin1(at.page));
    c.tbsOptions->addTab(c.picOptions, QString());
    c.Frame1 = place<QGroupBox>(c.picOptions, "Frame1", at.frame);
    c.Option1 = place<QRadioButton>(c.Frame1, "Option1", at.option1);
    c.Label2 = place<QLabel>(c.Frame1, "Label2", at.label2);
    c.Text1Name = place<QLineEdit>(c.Frame1, "Text1Name", at.name);
    c.Command2 = place<QPushButton>(c.Frame1, "Command2", at.create);
    c.Option2 = place<QRadioButton>(c.Frame1, "Option2", at.option2);
    c.Label1 = place<QLabel>(c.Frame1, "Label1", at.label1);
    c.Combo1 = place<QComboBox>(c.Frame1, "Combo1", at.list);
    c.Command1 = place<QPushButton>(c.Frame1, "Command1", at.remove);
    c.Command0 = place<QPushButton>(&form, "Command0", at.exit);
    QObject::connect(c.Command0, &QPushButton::clicked, &form, [window = &form] { Forms::Unload(window); });
    form.SetCancelButton(c.Command0);
}

void ApplyGroupManagerTexts(Form& form, const GroupManagerControls& c, const char* tabKey)
{
    form.setWindowTitle(text("mes146"));
    c.tbsOptions->setTabText(0, text(tabKey));
    c.Frame1->setTitle(text("mes148"));
    c.Option1->setText(text("opt9"));
    c.Label2->setText(text("mes149"));
    c.Command2->setText(text("cmd12"));
    c.Option2->setText(text("opt10"));
    c.Label1->setText(text("mes150"));
    c.Command1->setText(text("cmd6"));
    c.Command0->setText(text("cmd1"));
}

void ShowCreateHalf(const GroupManagerControls& c)
{
    c.Label2->setEnabled(true);
    c.Text1Name->setEnabled(true);
    c.Command2->setEnabled(!c.Text1Name->text().isEmpty());
    c.Label1->setEnabled(false);
    c.Combo1->setEnabled(false);
    c.Command1->setEnabled(false);
}

void ShowDeleteHalf(const GroupManagerControls& c)
{
    c.Label2->setEnabled(false);
    c.Text1Name->setEnabled(false);
    c.Command2->setEnabled(false);
    c.Label1->setEnabled(true);
    ShowDeletable(c);
}

void ShowDeletable(const GroupManagerControls& c)
{
    const bool any = c.Combo1->count() > 0;
    c.Combo1->setEnabled(any);
    c.Command1->setEnabled(any);
    if (any)
        c.Combo1->setCurrentIndex(0);
}

int GroupManagerMessage(const char* key, int buttons) { return MsgBox(text(key), buttons, ProductName()); }

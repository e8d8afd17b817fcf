// The contact card's writers: the new and the edited contact, the birthday and
// anniversary reminders, the photo and the links of its Internet page.
#include "frmCntAdd.h"

#include "ContactLinks.h"
#include "ContactRecord.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Formats.h"
#include "core/OpenURL.h"
#include "core/SourceText.h"
#include "core/TypedDate.h"
#include "core/Options.h"
#include "core/frmProcess.h"
#include "events/EventRecord.h"
#include "events/frmCaseMsr.h"
#include "platform/Clock.h"
#include "platform/DateField.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>

namespace {

Recordset& contacts() { return DataEnvironment1().rstbl_Phones; }

void warn(const char* key) { MsgBox(GetLangText(s(key)), 48, ProductName()); }

// Only a regular file is read: a stored pipe or folder never holds the card up.
QPixmap loadPhoto(const QString& path)
{
    if (!FileSystem::IsFile(path))
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

}  // namespace

QVariant frmCntAdd::ColumnValue(int ordinal) const
{
    switch (ordinal) {
    case Contact::Groupe_Name:
        return ComboGroupe->currentIndex() == 0 ? Forms::Get<frmProcess>().GeneralGroupName
                                                : ComboGroupe->currentText();
    case Contact::Personal_Photo:
        return ImPath->text().size() > Contact::MaxPhotoPath ? QString() : ImPath->text();
    case Contact::Personal_Date:
        return Check1->isChecked() ? QVariant(TextDate->date()) : QVariant();
    case Contact::Personal_Sex:
        return ComboSex->currentText();
    case Contact::Personal_StatusDate:
        return Check2->isChecked() ? QVariant(TextWDate->date()) : QVariant();
    default:
        return BoxText(ordinal);
    }
}

bool frmCntAdd::storeContact(bool added)
{
    Recordset& rs = contacts();
    if (rs.State() == 0)
        return false;
    DbResult result;
    if (added)
        result = rs.AddNew();
    else if (!rs.MoveToId(editedId_))
        result = DbResult::Failure(DbStatus::Error, s("the contact is gone"));
    // A new row is written by column name, an edited one by position; the reserved
    // columns and the id are left as they are.
    for (int ordinal = 0; ordinal <= Contact::Personal_MEMO && result.Ok(); ++ordinal) {
        if (ordinal == Contact::Home_Mobile_Reserve)
            continue;
        result = added ? rs.SetField(Contact::FieldName(ordinal), ColumnValue(ordinal))
                       : rs.SetField(ordinal, ColumnValue(ordinal));
    }
    if (result.Ok())
        result = rs.Update();
    if (!result.Ok()) {
        rs.CancelUpdate();
        LogDbFailure(s("contact card"), result);
        return false;
    }
    // The contact is stored and listed: a failed re-read leaves the other rows as
    // they were last read.
    std::ignore = rs.Resync();
    return true;
}

void frmCntAdd::SaveNewContact(bool closeAfterwards)
{
    if (Text2Name->text().isEmpty()) {
        warn("mes129");
        return;
    }
    if (!readTickedDates())
        return;
    if (!storeContact(true)) {
        warn("mes340");
        return;
    }
    if (closeAfterwards) {
        Forms::Unload(this);
        return;
    }
    for (int ordinal : TextOrdinals())
        SetBoxText(ordinal, QString());
    tbsOptions->setCurrentIndex(0);
    Text1Name->setFocus();
}

void frmCntAdd::SaveEditedContact(bool stayOpen)
{
    if (Text2Name->text().isEmpty()) {
        warn("mes129");
        return;
    }
    if (!readTickedDates())
        return;
    if (ImPath->text().size() > Contact::MaxPhotoPath) {
        ImPath->clear();
        Image1->clear();
    }
    if (!storeContact(false)) {
        warn("mes340");
        return;
    }
    setWindowTitle(Text2Name->text() + s(" ") + Text1Name->text());
    if (!stayOpen)
        Forms::Unload(this);
}

bool frmCntAdd::readTickedDates()
{
    return (!Check1->isChecked() || TakeTypedDate(TextDate)) && (!Check2->isChecked() || TakeTypedDate(TextWDate));
}

void frmCntAdd::Command1_Click()
{
    if (!TakeTypedDate(TextDate))
        return;
    const QDate birth = TextDate->date();
    const QDate today = Clock::Today();
    QDate date = birth;
    QString notes;
    // A birth date behind today gives the next birthday, with the birth date in the comment.
    if (birth < today) {
        date = NextOccurrenceOfDay(birth, today);
        notes = GetLangText(s("mes97")) + s(" - ") + DateText(birth);
    }
    const QString title = Text1Name->text() + s(" ") + Text2Name->text();
    const DbResult added = AddDayReminder(Forms::Get<frmProcess>().BuiltInMeasure1, title, date, notes);
    if (!added.Ok()) {
        LogDbFailure(s("birthday reminder"), added);
        warn("mes331");
        return;
    }
    MsgBox(GetLangText(s("mes81")), 64, ProductName());
}

void frmCntAdd::Command5_Click()
{
    if (!TakeTypedDate(TextWDate))
        return;
    frmCaseMsr::ShowFor(this, Text1Name->text(), Text2Name->text(), TextWDate->date());
}

void frmCntAdd::ShowPhoto(const QString& path)
{
    ImPath->setText(path);
    const QPixmap picture = loadPhoto(path);
    if (!picture.isNull())
        showPicture(picture);
}

void frmCntAdd::showPicture(const QPixmap& picture)
{
    const QSize room = Image1->contentsRect().size();
    const bool fits = picture.width() <= room.width() && picture.height() <= room.height();
    Image1->setPixmap(fits ? picture : picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void frmCntAdd::Command2_Click()
{
    QPointer<frmCntAdd> self(this);
    const QString chosen =
        Forms::Get<frmProcess>().CDlg(this, 1, GetLangText(s("mes130")), QString(), QString(), s("6150"),
                                      GetLangText(s("mes131")) + s(" (*.jpg, *.gif, *.bmp)|*.bmp;*.gif;*.jpg"), true);
    if (!self || chosen == QLatin1String("Error"))
        return;
    const QPixmap picture = loadPhoto(chosen);
    if (picture.isNull()) {
        MsgBox(GetLangText(s("mes170a")) + s("\r\n") + GetLangText(s("mes170b")), 48, ProductName());
        return;
    }
    ImPath->setText(chosen);
    showPicture(picture);
}

void frmCntAdd::Command3_Click()
{
    Image1->clear();
    ImPath->clear();
}

void frmCntAdd::CommandURL_Click()
{
    const QString link = WebLink(TextURL->text());
    if (!link.isEmpty())
        OpenURL(link);
}

void frmCntAdd::CommandMail_Click() { OpenURL(MailLink(TextEmail->text())); }

void frmCntAdd::CommandMail2_Click() { OpenURL(MailLink(TextEmail2->text())); }

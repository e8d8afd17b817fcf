// The phone book's View: the current contact into the contact card, which then
// saves onto that same contact, and the card shown modal over the phone book.
#include "frmPhones.h"

#include "ContactRecord.h"
#include "frmCntAdd.h"
#include "core/DataEnvironment.h"
#include "platform/DateField.h"
#include "platform/FieldValue.h"

#include <QCheckBox>

void frmPhones::ViewContact()
{
    Recordset& rs = DataEnvironment1().rstbl_Phones;
    if (rs.RecordCount() == 0 || !takeHighlightedRow()) {
        report(QStringLiteral("mes231"));
        return;
    }
    frmCntAdd& card = Forms::Get<frmCntAdd>();
    card.ShowGroup(rs.Field(Contact::Groupe_Name).toString());
    for (int ordinal : frmCntAdd::TextOrdinals())
        card.SetBoxText(ordinal, rs.Field(ordinal).toString());
    card.ShowPhoto(rs.Field(Contact::Personal_Photo).toString());
    const std::pair<int, std::pair<QCheckBox*, DateField*>> dates[] = {
        {Contact::Personal_Date, {card.Check1, card.TextDate}},
        {Contact::Personal_StatusDate, {card.Check2, card.TextWDate}},
    };
    for (const auto& [ordinal, controls] : dates) {
        const QVariant date = rs.Field(ordinal);
        if (!IsNullValue(date))
            controls.second->setDate(date.toDate());
        controls.first->setChecked(!IsNullValue(date));
    }
    card.ShowSex(rs.Field(Contact::Personal_Sex).toString());
    card.SetEditMode(rs.CurrentId());
    const QVariant given = rs.Field(Contact::First_Name);
    const QVariant surname = rs.Field(Contact::Second_Name);
    if (!IsNullValue(given) && !IsNullValue(surname))
        card.setWindowTitle(given.toString() + QStringLiteral(" ") + surname.toString());
    card.ShowModal(this);
}

#pragma once

#include "VCard.h"

#include <array>

// The 24 texts an address book gives of a contact.
enum ContactText {
    GivenName,
    FamilyName,
    AdditionalNames,
    MobilePhone,
    HomePhone,
    HomeCountry,
    HomeRegion,
    HomeCity,
    HomePostalCode,
    HomeFax,
    HomeStreet,
    Email,
    SecondEmail,
    WebAddress,
    Company,
    JobTitle,
    WorkCountry,
    WorkRegion,
    WorkCity,
    WorkStreet,
    WorkPostalCode,
    WorkPhone,
    WorkFax,
    Notes,
    ContactTextCount
};

using ContactTexts = std::array<QString, ContactTextCount>;

// The texts of a card. "First" is the preferred value (PREF type, lowest PREF=n),
// else the first in the file. Every text is cleaned (CleanText); only the notes keep
// their line breaks. With cardName, CardName as well, from the same reading.
ContactTexts MapCard(const VCard& card, QString* cardName = nullptr);

// The name a card goes by: FN, else the parts of N.
QString CardName(const VCard& card);

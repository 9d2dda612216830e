// The program's own words that appear in more than one place, as the Qt
// side uses them; the texts themselves live in the windows' tables.
#pragma once

#include "layout.h"

#include <QString>

inline const QString kAuthorCredit = toQString(vorel::forms::kAuthorCredit);
inline const QString kInstitutionCredit = toQString(vorel::forms::kInstitutionCredit);
inline const QString kWindowCaption = toQString(vorel::forms::kWindowCaption);

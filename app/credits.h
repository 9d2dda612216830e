// The program's own words that appear in more than one place.
#pragma once

#include <QString>

inline const QString kAuthorCredit = QStringLiteral("Por el Taller de Ondas.");
inline const QString kInstitutionCredit = QStringLiteral("Laboratorio Escolar de Física de las Ondas");
inline const QString kWindowCaption = QStringLiteral("Interferencia de Vorel. ") + kAuthorCredit;

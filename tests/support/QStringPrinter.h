#pragma once

#include <QString>
#include <ostream>

// Lets test failures show QStrings as readable text, with line breaks made visible.
inline void PrintTo(const QString& text, std::ostream* out) {
    QString shown = text;
    shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    *out << '"' << shown.toStdString() << '"';
}

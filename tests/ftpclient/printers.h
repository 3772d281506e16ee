#pragma once
// Readable values in GoogleTest's failure messages.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& value, std::ostream* out)
{
    *out << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QStringList& value, std::ostream* out)
{
    *out << '{' << value.join(QStringLiteral(", ")).toStdString() << '}';
}

inline void PrintTo(const QDateTime& value, std::ostream* out)
{
    *out << value.toString(Qt::ISODateWithMs).toStdString();
}

inline void PrintTo(const QByteArray& value, std::ostream* out)
{
    *out << value.size() << " bytes \"" << value.left(40).toStdString() << (value.size() > 40 ? "...\"" : "\"");
}

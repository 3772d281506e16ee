#pragma once
// Readable Qt values in GoogleTest's failure messages: without these a
// QString prints as its bytes. Found by argument lookup, so a file that
// includes this header prints every EXPECT_EQ on these types as text.
// Include it wherever such values are compared (the other support headers
// do), so all files of a test program print them alike.

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QSize>
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

inline void PrintTo(const QDate& value, std::ostream* out)
{
    *out << value.toString(Qt::ISODate).toStdString();
}

inline void PrintTo(const QDateTime& value, std::ostream* out)
{
    *out << value.toString(Qt::ISODateWithMs).toStdString();
}

inline void PrintTo(const QByteArray& value, std::ostream* out)
{
    *out << value.size() << " bytes \"" << value.left(40).toStdString()
         << (value.size() > 40 ? "...\"" : "\"");
}

inline void PrintTo(const QPoint& value, std::ostream* out)
{
    *out << '(' << value.x() << ", " << value.y() << ')';
}

inline void PrintTo(const QSize& value, std::ostream* out)
{
    *out << value.width() << 'x' << value.height();
}

inline void PrintTo(const QRect& value, std::ostream* out)
{
    *out << "QRect(" << value.x() << ", " << value.y() << ", " << value.width() << 'x' << value.height()
         << ')';
}

// "#rrggbb", with the alpha in front ("#80rrggbb") when not opaque.
inline void PrintTo(const QColor& value, std::ostream* out)
{
    if (!value.isValid())
        *out << "(invalid colour)";
    else
        *out << value.name(value.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb).toStdString();
}

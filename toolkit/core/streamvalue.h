#pragma once
// The readable text form of streamed objects, as a tree. An object is
//
//   object btnOK: TButton
//     Caption = 'OK'
//     Font.Style = [fsBold]
//     Items.Strings = (
//       'one'
//       'two')
//     Columns = <
//       item
//         FieldName = 'Name'
//       end>
//   end
//
// Strings are quoted with ' (doubled inside); control characters are written
// as #13 and the like. This file only parses and prints the tree; mapping
// it onto objects is streaming.h's job.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace tk {

struct TStreamProperty;

struct TStreamValue {
    enum class Kind { Integer, Float, String, Ident, Set, List, Collection, Binary };

    Kind kind = Kind::Ident;
    qint64 integer = 0;
    double real = 0;
    QString text;                    // String and Ident
    QStringList names;               // Set elements
    std::vector<TStreamValue> list;  // List elements
    std::vector<std::vector<TStreamProperty>> items;  // Collection items
    QByteArray binary;

    static TStreamValue Integer(qint64 value);
    static TStreamValue Float(double value);
    static TStreamValue String(const QString& value);
    static TStreamValue Ident(const QString& value);
    static TStreamValue Set(const QStringList& names);
    static TStreamValue Strings(const QStringList& lines);
    static TStreamValue Binary(const QByteArray& bytes);
    static TStreamValue EmptyCollection();

    // The value as text for a property setter: numbers in C-locale form,
    // sets as "[a,b]", lists as their lines joined by line breaks.
    QString ToText() const;
    // The elements of a List as strings.
    QStringList ToStrings() const;
};

struct TStreamProperty {
    QString name;  // may be dotted: "Font.Name", "Items.Strings"
    TStreamValue value;
};

struct TStreamObject {
    QString name;
    QString className;
    std::vector<TStreamProperty> properties;
    std::vector<TStreamObject> children;
};

// Parses one object; EReadError with the line number on malformed text.
TStreamObject ParseStreamText(const QString& text);
QString PrintStreamText(const TStreamObject& object);

}  // namespace tk

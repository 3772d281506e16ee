#include "toolkit/core/streamvalue.h"

#include "toolkit/core/exceptions.h"

#include <charconv>
#include <cmath>

namespace tk {

TStreamValue TStreamValue::Integer(qint64 value)
{
    TStreamValue v;
    v.kind = Kind::Integer;
    v.integer = value;
    return v;
}

TStreamValue TStreamValue::Float(double value)
{
    TStreamValue v;
    v.kind = Kind::Float;
    v.real = value;
    return v;
}

TStreamValue TStreamValue::String(const QString& value)
{
    TStreamValue v;
    v.kind = Kind::String;
    v.text = value;
    return v;
}

TStreamValue TStreamValue::Ident(const QString& value)
{
    TStreamValue v;
    v.kind = Kind::Ident;
    v.text = value;
    return v;
}

TStreamValue TStreamValue::Set(const QStringList& names)
{
    TStreamValue v;
    v.kind = Kind::Set;
    v.names = names;
    return v;
}

TStreamValue TStreamValue::Strings(const QStringList& lines)
{
    TStreamValue v;
    v.kind = Kind::List;
    for (const QString& line : lines)
        v.list.push_back(String(line));
    return v;
}

TStreamValue TStreamValue::Binary(const QByteArray& bytes)
{
    TStreamValue v;
    v.kind = Kind::Binary;
    v.binary = bytes;
    return v;
}

TStreamValue TStreamValue::EmptyCollection()
{
    TStreamValue v;
    v.kind = Kind::Collection;
    return v;
}

namespace {

QString FloatText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace

QString TStreamValue::ToText() const
{
    switch (kind) {
    case Kind::Integer:
        return QString::number(integer);
    case Kind::Float:
        return FloatText(real);
    case Kind::String:
    case Kind::Ident:
        return text;
    case Kind::Set:
        return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']');
    case Kind::List:
        return ToStrings().join(QStringLiteral("\r\n"));
    case Kind::Binary:
        return QString::fromLatin1(binary.toHex().toUpper());
    case Kind::Collection:
        break;
    }
    return QString();
}

QStringList TStreamValue::ToStrings() const
{
    QStringList lines;
    for (const TStreamValue& element : list)
        lines << element.ToText();
    return lines;
}

namespace {

// ---- Parsing -------------------------------------------------------------

class Parser {
public:
    explicit Parser(const QString& text) : text_(text) {}

    // Objects, lists and collections nest through recursive calls; a
    // damaged or hostile text must not turn its length into stack depth.
    // Real forms nest a few dozen levels.
    static constexpr int kMaxNesting = 256;

    TStreamObject ParseRoot()
    {
        TStreamObject object = ParseObject();
        SkipBlanks();
        if (pos_ < text_.size())
            Fail(QStringLiteral("text after the end of the object"));
        return object;
    }

private:
    [[noreturn]] void Fail(const QString& what) const
    {
        throw EReadError(QStringLiteral("Invalid stream format at line %1: %2").arg(line_).arg(what));
    }

    void SkipBlanks()
    {
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (c == QLatin1Char('\n'))
                ++line_;
            if (!c.isSpace())
                break;
            ++pos_;
        }
    }

    bool AtEnd()
    {
        SkipBlanks();
        return pos_ >= text_.size();
    }

    QChar Peek()
    {
        SkipBlanks();
        return pos_ < text_.size() ? text_[pos_] : QChar();
    }

    void Expect(QChar symbol)
    {
        if (Peek() != symbol)
            Fail(QStringLiteral("'%1' expected").arg(symbol));
        ++pos_;
    }

    static bool IsIdentStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
    static bool IsIdentPart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'); }

    QString ReadIdent()
    {
        if (!IsIdentStart(Peek()))
            Fail(QStringLiteral("identifier expected"));
        const qsizetype start = pos_;
        while (pos_ < text_.size() && IsIdentPart(text_[pos_]))
            ++pos_;
        return text_.mid(start, pos_ - start);
    }

    // Looks at the next identifier without consuming it.
    QString PeekIdent()
    {
        const qsizetype savedPos = pos_;
        const int savedLine = line_;
        QString ident;
        if (IsIdentStart(Peek()))
            ident = ReadIdent();
        pos_ = savedPos;
        line_ = savedLine;
        return ident;
    }

    static bool IsObjectKeyword(const QString& ident)
    {
        return ident.compare(QLatin1String("object"), Qt::CaseInsensitive) == 0 ||
               ident.compare(QLatin1String("inherited"), Qt::CaseInsensitive) == 0 ||
               ident.compare(QLatin1String("inline"), Qt::CaseInsensitive) == 0;
    }

    static bool IsKeyword(const QString& ident, const char* keyword)
    {
        return ident.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
    }

    // Counts one nesting level for a scope.
    class TNestingLevel {
    public:
        explicit TNestingLevel(Parser& parser) : parser_(parser)
        {
            if (++parser_.nesting_ > kMaxNesting)
                parser_.Fail(QStringLiteral("values nested too deeply"));
        }
        ~TNestingLevel() { --parser_.nesting_; }
        TNestingLevel(const TNestingLevel&) = delete;
        TNestingLevel& operator=(const TNestingLevel&) = delete;

    private:
        Parser& parser_;
    };

    TStreamObject ParseObject()
    {
        const TNestingLevel level(*this);
        if (!IsObjectKeyword(ReadIdent()))
            Fail(QStringLiteral("'object' expected"));
        TStreamObject object;
        const QString first = ReadIdent();
        if (Peek() == QLatin1Char(':')) {
            ++pos_;
            object.name = first;
            object.className = ReadIdent();
        } else {
            object.className = first;
        }
        if (Peek() == QLatin1Char('[')) {  // creation order index: not needed here
            ++pos_;
            while (!AtEnd() && Peek() != QLatin1Char(']'))
                ++pos_;
            Expect(QLatin1Char(']'));
        }
        for (;;) {
            if (AtEnd())
                Fail(QStringLiteral("'end' expected"));
            const QString ident = PeekIdent();
            if (IsKeyword(ident, "end")) {
                ReadIdent();
                return object;
            }
            if (IsObjectKeyword(ident))
                object.children.push_back(ParseObject());
            else
                object.properties.push_back(ParseProperty());
        }
    }

    TStreamProperty ParseProperty()
    {
        TStreamProperty property;
        property.name = ReadIdent();
        Expect(QLatin1Char('='));
        property.value = ParseValue();
        return property;
    }

    TStreamValue ParseValue()
    {
        const QChar c = Peek();
        if (c.isNull())
            Fail(QStringLiteral("value expected"));
        if (c == QLatin1Char('\'') || c == QLatin1Char('#'))
            return TStreamValue::String(ReadString());
        if (c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('$') || c.isDigit())
            return ReadNumber();
        if (c == QLatin1Char('[')) {
            ++pos_;
            QStringList names;
            while (Peek() != QLatin1Char(']')) {
                names << ReadIdent();
                if (Peek() == QLatin1Char(','))
                    ++pos_;
                else if (Peek() != QLatin1Char(']'))
                    Fail(QStringLiteral("',' or ']' expected"));
            }
            ++pos_;
            return TStreamValue::Set(names);
        }
        if (c == QLatin1Char('(')) {
            ++pos_;
            const TNestingLevel level(*this);
            TStreamValue value;
            value.kind = TStreamValue::Kind::List;
            while (Peek() != QLatin1Char(')'))
                value.list.push_back(ParseValue());
            ++pos_;
            return value;
        }
        if (c == QLatin1Char('<')) {
            ++pos_;
            const TNestingLevel level(*this);
            TStreamValue value = TStreamValue::EmptyCollection();
            while (Peek() != QLatin1Char('>')) {
                if (!IsKeyword(ReadIdent(), "item"))
                    Fail(QStringLiteral("'item' expected"));
                std::vector<TStreamProperty> item;
                while (!IsKeyword(PeekIdent(), "end")) {
                    if (AtEnd())
                        Fail(QStringLiteral("'end' expected"));
                    item.push_back(ParseProperty());
                }
                ReadIdent();
                value.items.push_back(std::move(item));
            }
            ++pos_;
            return value;
        }
        if (c == QLatin1Char('{'))
            return ReadBinary();
        if (IsIdentStart(c))
            return TStreamValue::Ident(ReadIdent());
        Fail(QStringLiteral("unexpected '%1'").arg(c));
    }

    // 'quoted' and #nn pieces glued together; "+" joins pieces across lines.
    QString ReadString()
    {
        QString result;
        for (;;) {
            bool any = false;
            while (pos_ < text_.size()) {
                const QChar c = text_[pos_];
                if (c == QLatin1Char('\'')) {
                    any = true;
                    ++pos_;
                    for (;;) {
                        if (pos_ >= text_.size() || text_[pos_] == QLatin1Char('\n'))
                            Fail(QStringLiteral("unterminated string"));
                        if (text_[pos_] == QLatin1Char('\'')) {
                            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == QLatin1Char('\'')) {
                                result += QLatin1Char('\'');
                                pos_ += 2;
                                continue;
                            }
                            ++pos_;
                            break;
                        }
                        result += text_[pos_++];
                    }
                } else if (c == QLatin1Char('#')) {
                    any = true;
                    ++pos_;
                    const qsizetype start = pos_;
                    while (pos_ < text_.size() && text_[pos_].isDigit())
                        ++pos_;
                    bool ok = false;
                    const uint code = text_.mid(start, pos_ - start).toUInt(&ok);
                    if (!ok || code > 0x10FFFF)
                        Fail(QStringLiteral("invalid character code"));
                    const char32_t ch = code;
                    result += QString::fromUcs4(&ch, 1);
                } else {
                    break;
                }
            }
            if (!any)
                Fail(QStringLiteral("string expected"));
            if (Peek() != QLatin1Char('+'))
                return result;
            ++pos_;
            SkipBlanks();
        }
    }

    TStreamValue ReadNumber()
    {
        const qsizetype start = pos_;
        if (text_[pos_] == QLatin1Char('$')) {
            ++pos_;
            while (pos_ < text_.size() && QStringLiteral("0123456789abcdefABCDEF").contains(text_[pos_]))
                ++pos_;
            bool ok = false;
            const qint64 value = text_.mid(start + 1, pos_ - start - 1).toLongLong(&ok, 16);
            if (!ok)
                Fail(QStringLiteral("invalid hexadecimal number"));
            return TStreamValue::Integer(value);
        }
        if (text_[pos_] == QLatin1Char('-') || text_[pos_] == QLatin1Char('+'))
            ++pos_;
        bool isFloat = false;
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (c.isDigit()) {
                ++pos_;
            } else if (c == QLatin1Char('.') || c == QLatin1Char('e') || c == QLatin1Char('E')) {
                isFloat = true;
                ++pos_;
                if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && pos_ < text_.size() &&
                    (text_[pos_] == QLatin1Char('-') || text_[pos_] == QLatin1Char('+')))
                    ++pos_;
            } else {
                break;
            }
        }
        const QString number = text_.mid(start, pos_ - start);
        bool ok = false;
        if (!isFloat) {
            const qint64 value = number.toLongLong(&ok);
            if (ok)
                return TStreamValue::Integer(value);
        }
        const double value = number.toDouble(&ok);
        if (!ok)
            Fail(QStringLiteral("invalid number '%1'").arg(number));
        return TStreamValue::Float(value);
    }

    TStreamValue ReadBinary()
    {
        ++pos_;  // '{'
        QByteArray hex;
        while (pos_ < text_.size() && text_[pos_] != QLatin1Char('}')) {
            const QChar c = text_[pos_++];
            if (c == QLatin1Char('\n'))
                ++line_;
            if (c.isSpace())
                continue;
            if (!QStringLiteral("0123456789abcdefABCDEF").contains(c))
                Fail(QStringLiteral("invalid binary data"));
            hex += static_cast<char>(c.unicode());
        }
        if (pos_ >= text_.size() || hex.size() % 2)
            Fail(QStringLiteral("invalid binary data"));
        ++pos_;
        return TStreamValue::Binary(QByteArray::fromHex(hex));
    }

    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    int nesting_ = 0;
};

// ---- Printing --------------------------------------------------------------

QString Quote(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("''");
    QString out;
    bool open = false;
    for (const QChar c : text) {
        if (c.unicode() < 32 || c.unicode() == 127) {
            if (open)
                out += QLatin1Char('\'');
            open = false;
            out += QLatin1Char('#') + QString::number(c.unicode());
            continue;
        }
        if (!open)
            out += QLatin1Char('\'');
        open = true;
        out += c;
        if (c == QLatin1Char('\''))
            out += QLatin1Char('\'');
    }
    if (open)
        out += QLatin1Char('\'');
    return out;
}

void PrintProperties(QString& out, const std::vector<TStreamProperty>& properties, int indent);

void PrintValue(QString& out, const TStreamValue& value, int indent)
{
    const QString pad(indent, QLatin1Char(' '));
    switch (value.kind) {
    case TStreamValue::Kind::Integer:
    case TStreamValue::Kind::Float:
    case TStreamValue::Kind::Ident:
        out += value.ToText();
        break;
    case TStreamValue::Kind::String:
        out += Quote(value.text);
        break;
    case TStreamValue::Kind::Set:
        out += QLatin1Char('[') + value.names.join(QStringLiteral(", ")) + QLatin1Char(']');
        break;
    case TStreamValue::Kind::List:
        out += QLatin1Char('(');
        for (const TStreamValue& element : value.list) {
            out += QLatin1Char('\n') + pad + QStringLiteral("  ");
            PrintValue(out, element, indent + 2);
        }
        out += QLatin1Char(')');
        break;
    case TStreamValue::Kind::Collection:
        out += QLatin1Char('<');
        for (const auto& item : value.items) {
            out += QLatin1Char('\n') + pad + QStringLiteral("  item\n");
            PrintProperties(out, item, indent + 4);
            out += pad + QStringLiteral("  end");
        }
        out += QLatin1Char('>');
        break;
    case TStreamValue::Kind::Binary: {
        out += QLatin1Char('{');
        const QByteArray hex = value.binary.toHex().toUpper();
        for (qsizetype i = 0; i < hex.size(); i += 64)
            out += QLatin1Char('\n') + pad + QStringLiteral("  ") + QString::fromLatin1(hex.mid(i, 64));
        out += QLatin1Char('}');
        break;
    }
    }
}

void PrintProperties(QString& out, const std::vector<TStreamProperty>& properties, int indent)
{
    const QString pad(indent, QLatin1Char(' '));
    for (const TStreamProperty& property : properties) {
        out += pad + property.name + QStringLiteral(" = ");
        PrintValue(out, property.value, indent);
        out += QLatin1Char('\n');
    }
}

void PrintObject(QString& out, const TStreamObject& object, int indent)
{
    const QString pad(indent, QLatin1Char(' '));
    out += pad + QStringLiteral("object ");
    out += object.name.isEmpty() ? object.className : object.name + QStringLiteral(": ") + object.className;
    out += QLatin1Char('\n');
    PrintProperties(out, object.properties, indent + 2);
    for (const TStreamObject& child : object.children)
        PrintObject(out, child, indent + 2);
    out += pad + QStringLiteral("end\n");
}

}  // namespace

TStreamObject ParseStreamText(const QString& text)
{
    return Parser(text).ParseRoot();
}

QString PrintStreamText(const TStreamObject& object)
{
    QString out;
    PrintObject(out, object, 0);
    return out;
}

}  // namespace tk

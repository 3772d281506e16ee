#include "toolkit/core/exceptions.h"
#include "toolkit/core/streamvalue.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

const char* const kSample = R"(object frmMain: TfrmMain
  Caption = 'It''s '#13#10'two lines'
  Left = -12
  Ratio = 0.25
  Font.Style = [fsBold, fsItalic]
  Empty = []
  Visible = True
  Mask = $1F
  Items.Strings = (
    'one'
    ''
    'Año €')
  Columns = <
    item
      FieldName = 'A'
      Title.Caption = 'First'
    end
    item
    end>
  Data = {
    0001FEFF}
  Long = 'part one ' +
    'part two'
  object btnOK: TButton
    Caption = 'OK'
  end
end
)";

TEST(StreamText, ParsesEveryValueKind)
{
    const TStreamObject root = ParseStreamText(QString::fromUtf8(kSample));
    EXPECT_EQ(root.name, QStringLiteral("frmMain"));
    EXPECT_EQ(root.className, QStringLiteral("TfrmMain"));
    ASSERT_EQ(root.properties.size(), 11u);
    const auto& p = root.properties;
    EXPECT_EQ(p[0].value.text, QStringLiteral("It's \r\ntwo lines"));
    EXPECT_EQ(p[1].value.kind, TStreamValue::Kind::Integer);
    EXPECT_EQ(p[1].value.integer, -12);
    EXPECT_EQ(p[2].value.kind, TStreamValue::Kind::Float);
    EXPECT_EQ(p[2].value.real, 0.25);
    EXPECT_EQ(p[3].name, QStringLiteral("Font.Style"));
    EXPECT_EQ(p[3].value.ToText(), QStringLiteral("[fsBold,fsItalic]"));
    EXPECT_EQ(p[4].value.ToText(), QStringLiteral("[]"));
    EXPECT_EQ(p[5].value.kind, TStreamValue::Kind::Ident);
    EXPECT_EQ(p[6].value.integer, 31);
    EXPECT_EQ(p[7].value.ToStrings(), (QStringList{"one", "", QString::fromUtf8("Año €")}));
    ASSERT_EQ(p[8].value.items.size(), 2u);
    EXPECT_EQ(p[8].value.items[0][1].name, QStringLiteral("Title.Caption"));
    EXPECT_TRUE(p[8].value.items[1].empty());
    EXPECT_EQ(p[9].value.binary, QByteArray::fromHex("0001FEFF"));
    EXPECT_EQ(p[10].value.text, QStringLiteral("part one part two"));
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].name, QStringLiteral("btnOK"));
}

TEST(StreamText, PrintingAndParsingAgain)
{
    const TStreamObject root = ParseStreamText(QString::fromUtf8(kSample));
    const QString printed = PrintStreamText(root);
    const TStreamObject again = ParseStreamText(printed);
    EXPECT_EQ(PrintStreamText(again), printed);
    // Control characters never appear raw, so a value cannot break a line.
    EXPECT_FALSE(printed.contains(QLatin1Char('\r')));
    EXPECT_TRUE(printed.contains(QStringLiteral("Caption = 'It''s '#13#10'two lines'")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Font.Style = [fsBold, fsItalic]")));
}

TEST(StreamText, FloatsKeepEveryDigit)
{
    TStreamObject root;
    root.className = QStringLiteral("TThing");
    root.properties.push_back({QStringLiteral("Value"), TStreamValue::Float(0.1 + 0.2)});
    const TStreamObject again = ParseStreamText(PrintStreamText(root));
    EXPECT_EQ(again.properties[0].value.real, 0.1 + 0.2);
}

TEST(StreamText, MalformedTextNamesTheLine)
{
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"object A: TA\n  Caption = 'open\nend\n", 2},
        {"object A: TA\n  Caption 'x'\nend\n", 2},
        {"object A: TA\n  Caption = 'x'\n", 3},
        {"object A: TA\n  S = [a b]\nend\n", 2},
        {"object A: TA\n  C = <\n    x\n  >\nend\n", 3},
        {"object A: TA\n  B = {0G}\nend\n", 2},
        {"object A: TA\nend\nextra", 3},
        {"thing A: TA\nend\n", 1},
    };
    for (const auto& c : cases) {
        try {
            ParseStreamText(QString::fromLatin1(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("line %1:").arg(c.line))) << qPrintable(e.Message());
        }
    }
}

}  // namespace
}  // namespace tk

// The text form of object trees under damage: thousands of mutated copies
// of a valid stream either raise EReadError or parse into a tree that
// prints and parses back to itself; nesting deep enough to exhaust the
// stack is refused.

#include "toolkit/core/exceptions.h"
#include "toolkit/core/streamvalue.h"

#include "tests/support/expect_raises.h"
#include "tests/support/mutator.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

using test::MessageOf;

const QByteArray kValidStream = "object Form1: TForm\n"
                                "  Caption = 'Fees '#13#10'2024'\n"
                                "  Width = 640\n"
                                "  Ratio = 1.5\n"
                                "  Color = $00FF8000\n"
                                "  Font.Style = [fsBold, fsItalic]\n"
                                "  Items.Strings = (\n"
                                "    'one'\n"
                                "    'it''s two')\n"
                                "  Columns = <\n"
                                "    item\n"
                                "      FieldName = 'Owner'\n"
                                "      Width = 90\n"
                                "    end\n"
                                "    item\n"
                                "      FieldName = 'Amount'\n"
                                "    end>\n"
                                "  Data = {0A0B0C0D}\n"
                                "  object Grid1: TKelDBGrid\n"
                                "    Left = 8\n"
                                "  end\n"
                                "end\n";

const QByteArrayList kStreamTokens = {"object ", "end", "item", "(", ")", "<", ">", "[", "]", "{", "}",
                                      "'", "#", "#1114112", "$", "=", "+", ".", "inherited X: Y\n"};

TEST(HostileStreamTest, MutatedStreamsRaiseOrReadBackStably)
{
    ASSERT_NO_THROW(ParseStreamText(QString::fromUtf8(kValidStream)));
    test::TMutator mutator(kValidStream, 2101, kStreamTokens);
    int parsed = 0;
    for (int i = 0; i < 2000; ++i) {
        const test::TMutation mutation = mutator.Next();
        SCOPED_TRACE(mutator.Trace(i, mutation).toStdString());
        TStreamObject tree;
        try {
            tree = ParseStreamText(QString::fromUtf8(mutation.bytes));
        } catch (const EReadError& e) {
            ASSERT_TRUE(e.Message().startsWith(QStringLiteral("Invalid stream format at line")))
                << e.Message().toStdString();
            continue;
        }
        ++parsed;
        // What was read prints to text that reads as the same tree.
        const QString printed = PrintStreamText(tree);
        ASSERT_EQ(PrintStreamText(ParseStreamText(printed)), printed);
    }
    // Both ways are exercised: some damages keep the text readable.
    EXPECT_GT(parsed, 20);
    EXPECT_LT(parsed, 1800);
}

TEST(HostileStreamTest, EveryTruncationRaises)
{
    // The last cut only loses the final line break: the object is whole.
    for (const QByteArray& cut : test::Truncations(kValidStream.chopped(1), 1)) {
        SCOPED_TRACE(cut.size());
        EXPECT_NE(MessageOf<EReadError>([&] { ParseStreamText(QString::fromUtf8(cut)); }), test::kNoException);
    }
}

// Each nesting level of the parser is a call; a hostile stream must not
// turn its length into stack depth.
TEST(HostileStreamTest, NestingBeyondTheLimitIsRefused)
{
    const int deep = 100000;
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"lists", QStringLiteral("object A: T\n  L = ") + QString(deep, QLatin1Char('(')) +
                      QString(deep, QLatin1Char(')')) + QStringLiteral("\nend\n")},
        {"collections", QStringLiteral("object A: T\n  C = ") + QStringLiteral("<item C = ").repeated(deep) +
                            QStringLiteral("end>").repeated(deep) + QStringLiteral("\nend\n")},
        {"objects", QStringLiteral("object A: T\n").repeated(deep) + QStringLiteral("end\n").repeated(deep)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString message = MessageOf<EReadError>([&] { ParseStreamText(c.text); });
        EXPECT_TRUE(message.contains(QStringLiteral("nested too deeply"))) << message.toStdString();
    }
    // Nesting as deep as real forms go still reads.
    const int fine = 32;
    const QString nested = QStringLiteral("object A: T\n  L = ") + QString(fine, QLatin1Char('(')) +
                           QStringLiteral("1") + QString(fine, QLatin1Char(')')) + QStringLiteral("\n") +
                           QStringLiteral("object B: T\n").repeated(fine) + QStringLiteral("end\n").repeated(fine) +
                           QStringLiteral("end\n");
    EXPECT_NO_THROW(ParseStreamText(nested));
}

}  // namespace
}  // namespace tk

// Column layout streams: the columns and the order round-trip through a
// stream and a file; damaged, foreign or hand-written layouts raise or are
// read leniently, and never leave the grid's columns half-replaced.

#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/streaming.h"

#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/expect_raises.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QDir>
#include <gtest/gtest.h>

namespace kelgrid {
namespace {

using tk::test::MessageOf;

// "Owner:90 Id:-40 ..." : field name and width of every column, a hidden
// column's width negated.
QString Shape(const TKelDBGridColumns& columns)
{
    QStringList parts;
    for (int i = 0; i < columns.Count(); ++i) {
        const TKelColumn* column = columns.Items(i);
        const int width = column->TrueWidth();
        parts << QStringLiteral("%1:%2").arg(column->FieldName()).arg(column->Visible() ? width : -width);
    }
    return parts.join(QLatin1Char(' '));
}

class ColumnsStreamTest : public test::GridFixture {
protected:
    void SetUp() override
    {
        test::GridFixture::SetUp();
        columns()->SetState(csCustomized);
        columns()->Items(1)->SetWidth(90);
        columns()->Items(2)->SetWidth(55);
        columns()->Items(2)->SetVisible(false);
        columns()->Items(3)->MoveTo(0);
        columns()->Items(1)->Title()->SetCaption(QStringLiteral("Número"));
        grid->SetOrderFields(QStringLiteral("Amount DESC,Owner"));
    }
    TKelDBGridColumns* columns() const { return grid->Columns(); }

    QByteArray Saved() const
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        columns()->SaveToStream(buffer);
        return buffer.data();
    }
    void Load(const QByteArray& bytes) const
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        columns()->LoadFromStream(buffer);
    }
    // Puts the grid back to its dataset-made columns without an order.
    void Forget() const
    {
        grid->SetOrderFields(QString());
        columns()->SetState(csDefault);
        ASSERT_EQ(columns()->State(), csDefault);
    }
};

TEST_F(ColumnsStreamTest, ALayoutComesBackWithOrderWidthsVisibilityAndTitles)
{
    const QString shape = Shape(*columns());
    ASSERT_EQ(shape, QStringLiteral("Paid:%1 Id:%2 Owner:90 Amount:-55")
                         .arg(columns()->Items(0)->TrueWidth())
                         .arg(columns()->Items(1)->TrueWidth()));
    const QByteArray saved = Saved();
    Forget();

    Load(saved);
    EXPECT_EQ(columns()->State(), csCustomized);
    EXPECT_EQ(Shape(*columns()), shape);
    EXPECT_EQ(columns()->Items(1)->Title()->Caption(), QStringLiteral("Número"));
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount DESC,Owner"));
    EXPECT_EQ(columns()->OrderList().size(), 2);
    EXPECT_EQ(grid->CheckConsistency(), QString());
    // Saving what was read gives the same bytes: nothing is lost or added.
    EXPECT_EQ(Saved(), saved);
}

TEST_F(ColumnsStreamTest, FilesRoundTripAndFailuresNameTheFile)
{
    tk::test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("fees.layout"));
    columns()->SaveToFile(path);
    const QByteArray before = folder.Read(QStringLiteral("fees.layout"));
    Forget();
    columns()->LoadFromFile(path);
    EXPECT_EQ(columns()->Items(2)->WidthBase(), 90);
    EXPECT_EQ(folder.Read(QStringLiteral("fees.layout")), before);

    // A folder where the file should be: the save fails and says where.
    QDir(folder.Path()).mkdir(QStringLiteral("taken"));
    const QString taken = folder.File(QStringLiteral("taken"));
    EXPECT_TRUE(MessageOf<tk::EStreamError>([&] {
                    columns()->SaveToFile(taken);
                }).startsWith(QStringLiteral("Cannot write ") + taken));

    const QString missing = folder.File(QStringLiteral("missing.layout"));
    EXPECT_TRUE(MessageOf<tk::EStreamError>([&] {
                    columns()->LoadFromFile(missing);
                }).startsWith(QStringLiteral("Cannot read ") + missing));
}

TEST_F(ColumnsStreamTest, DamagedOrForeignStreamsRaiseAndChangeNothing)
{
    const QByteArray saved = Saved();
    const QString shape = Shape(*columns());
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* message;  // the start of the error's message
    };
    const Case cases[] = {
        {"truncated", saved.left(saved.size() / 2), "Invalid stream format"},
        {"not text", QByteArray("object TKelColumnsWrapper\n  OrderFields = '\xff\xfe'\nend\n"),
         "The column layout is not valid UTF-8"},
        {"empty", QByteArray(), "Invalid stream format"},
        {"another object", QByteArray("object Ok: TButton\nend\n"),
         "The stream holds a TButton, not a column layout"},
        {"an object inside", QByteArray("object TKelColumnsWrapper\n  object Ok: TButton\n  end\nend\n"),
         "The column layout holds an unexpected object Ok"},
        {"a bad value",
         QByteArray("object TKelColumnsWrapper\n  Columns = <\n    item\n      FieldName = 'Id'\n"
                    "      Width = 'wide'\n    end>\n  OrderFields = 'Id'\nend\n"),
         "Error reading"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString message = MessageOf<tk::EReadError>([&] { Load(c.bytes); });
        EXPECT_TRUE(message.startsWith(QString::fromUtf8(c.message))) << message.toStdString();
        EXPECT_EQ(Shape(*columns()), shape);
        EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount DESC,Owner"));
    }
}

TEST_F(ColumnsStreamTest, AHandWrittenLayoutIsReadLeniently)
{
    // Another machine's file: CR LF, other letter case, a field this
    // dataset does not have (skipped) and an order item that names no
    // column or tries to reach the SQL (dropped, never applied).
    const QByteArray text = "object tkelcolumnswrapper\r\n"
                            "  columns = <\r\n"
                            "    item\r\n      fieldname = 'owner'\r\n      width = 70\r\n    end\r\n"
                            "    item\r\n      FIELDNAME = 'Gone'\r\n    end\r\n"
                            "    item\r\n      FieldName = 'Id'\r\n    end>\r\n"
                            "  orderfields = 'Gone,Id DESC,Id; DROP TABLE fees'\r\n"
                            "end\r\n";
    Load(text);
    EXPECT_EQ(columns()->FieldNames(), QStringList({QStringLiteral("Owner"), QStringLiteral("Id")}));
    EXPECT_EQ(columns()->Items(0)->WidthBase(), 70);
    EXPECT_EQ(columns()->Items(0)->Field(), dataSet.FieldByName(QStringLiteral("Owner")));
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Id DESC"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ColumnsStreamTest, ColumnByNameFindsAnyCaseOrRaises)
{
    EXPECT_EQ(grid->ColumnByName(QStringLiteral("OWNER")), columns()->Items(2));
    EXPECT_EQ(grid->FindColumn(QStringLiteral("Owner"), 3), nullptr);
    EXPECT_EQ(MessageOf<tk::EInvalidGridOperation>([&] { grid->ColumnByName(QStringLiteral("Owner"), 3); }),
              QStringLiteral("Field 'Owner' not found"));
}

// In a form stream the grid writes its columns only when they are the
// user's, and the order in its sequence: under numbered markers the primary
// column need not come first.
TEST_F(ColumnsStreamTest, AFormStreamKeepsCustomisedColumnsAndTheOrderSequence)
{
    grid->SetOrderFields(QStringLiteral("Owner,Id DESC"));
    const QString form = tk::ObjectToText(grid.get());
    TKelDBGrid copy;
    copy.SetDataSource(&source);
    tk::ObjectFromText(&copy, form);
    EXPECT_EQ(Shape(*copy.Columns()), Shape(*columns()));
    EXPECT_EQ(copy.OrderFields(), QStringLiteral("Owner,Id DESC"));
    EXPECT_EQ(copy.CheckConsistency(), QString());

    Forget();
    EXPECT_FALSE(tk::ObjectToText(grid.get()).contains(QStringLiteral("Columns")));
}

}  // namespace
}  // namespace kelgrid

// Fields through a real dataset: conversions and their failures, the two
// text forms, events, read-only and required rules, lookup and calculated
// fields, blob streams and files, object fields, persistent and default
// fields, and the notifications display settings send to links.

#include "toolkit/core/exceptions.h"
#include "toolkit/core/numbers.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/streaming.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/memorysource.h"
#include "toolkit/ui/pictures.h"

#include "tests/support/temp_folder.h"

#include "tests/support/field_def.h"
#include "tests/support/expect_raises.h"

#include <QBuffer>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <ostream>

namespace tk {
namespace {

using test::MessageOf;

// A dataset over the toolkit's memory source. The rows outlive the
// dataset's closing, so that reopening sees the edits and tests can read
// what was stored.
class RowDataSet : public TDataSet {
public:
    RowDataSet(std::vector<TFieldDef> defs, std::vector<std::vector<Variant>> rows)
        : defs_(std::move(defs)), rows_(std::move(rows))
    {
    }
    ~RowDataSet() override { Destroying(); }
    // The stored rows, as the open source holds them.
    const std::vector<std::vector<Variant>>& Rows()
    {
        KeepRows();
        return rows_;
    }

protected:
    std::unique_ptr<TRecordSource> CreateRecordSource() override
    {
        auto source = std::make_unique<TMemoryRecordSource>(defs_);
        source->AppendRows(rows_);
        return source;
    }
    void DoBeforeClose() override { KeepRows(); }

private:
    void KeepRows()
    {
        TRecordSource* source = Source();
        if (!source)
            return;
        rows_.clear();
        for (qint64 row = 0; source->HasRow(row); ++row) {
            std::vector<Variant> values;
            for (int column = 0; column < source->ColumnNames().size(); ++column)
                values.push_back(source->Value(row, column));
            rows_.push_back(std::move(values));
        }
    }

    std::vector<TFieldDef> defs_;
    std::vector<std::vector<Variant>> rows_;
};

using test::Def;

// A link that writes down the callbacks display settings cause.
class CountingLink : public TDataLink {
public:
    QStringList events;

protected:
    void DataSetChanged() override { events << QStringLiteral("Changed"); }
    void LayoutChanged() override { events << QStringLiteral("Layout"); }
};

// items: ID, NAME(10), SMALL, PRICE, AMOUNT(BCD), FLAG, BORN, NOTES (memo),
// DATA (blob), PIC (graphic), ADDR (STREET, CITY), CUST.
class FieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedNumbers_ = NumberSettings();
        NumberSettings() = TNumberSettings();  // '.' and ',' and "$"
        TFieldDef addr = Def("ADDR", ftADT);
        addr.ChildDefs = {Def("STREET", ftString, 20), Def("CITY", ftString, 20)};
        defs_ = {Def("ID", ftInteger, 0, true), Def("NAME", ftString, 10), Def("SMALL", ftSmallint),
                 Def("PRICE", ftFloat),         Def("AMOUNT", ftBCD, 2),  Def("FLAG", ftBoolean),
                 Def("BORN", ftDate),           Def("NOTES", ftMemo),     Def("DATA", ftBlob),
                 Def("PIC", ftGraphic),         addr,                     Def("CUST", ftInteger)};
        const Variant null = Variant::NullValue();
        rows_ = {
            {Variant(1), Variant("Ann"), Variant(qint16(5)), Variant(1234.5), Variant(TCurrency::FromTicks(12345)),
             Variant(true), Variant::FromDate(EncodeDate(2020, 2, 29)), Variant("first note"),
             Variant(QByteArray("\x01\x02\x03", 3)), null, Variant("Main St"), Variant("Lyon"), Variant(10)},
            {Variant(2), Variant("Bob"), null, Variant(2.0), null, Variant(false), null, Variant(""), null, null, null,
             null, Variant(20)},
            {Variant(3), Variant("Cy"), Variant(qint16(-7)), Variant(0.25), null, null, null, null, null, null, null,
             Variant("Oslo"), Variant(99)},
        };
    }
    void TearDown() override { NumberSettings() = savedNumbers_; }

    RowDataSet* Open()
    {
        items_ = std::make_unique<RowDataSet>(defs_, rows_);
        items_->Open();
        return items_.get();
    }
    TField* F(const char* name) { return items_->FieldByName(QString::fromLatin1(name)); }

    std::unique_ptr<RowDataSet> Customers()
    {
        auto customers = std::make_unique<RowDataSet>(
            std::vector<TFieldDef>{Def("CODE", ftInteger), Def("LABEL", ftString, 20)},
            std::vector<std::vector<Variant>>{{Variant(10), Variant("Acme")}, {Variant(20), Variant("Globex")}});
        customers->Open();
        return customers;
    }

    TNumberSettings savedNumbers_;
    std::vector<TFieldDef> defs_;
    std::vector<std::vector<Variant>> rows_;
    std::unique_ptr<RowDataSet> items_;
};

// --- Default fields and their classes -------------------------------------------

TEST_F(FieldTest, DefaultFieldsHaveTheClassOfTheirTypeAndTheDefinitionsSettings)
{
    Open();
    const QStringList expected = {"TIntegerField", "TStringField",  "TSmallintField", "TFloatField",
                                  "TBCDField",     "TBooleanField", "TDateField",     "TMemoField",
                                  "TBlobField",    "TGraphicField", "TADTField",      "TIntegerField"};
    ASSERT_EQ(items_->FieldCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(items_->Fields()[i]->ClassName(), expected[i]) << i;
    EXPECT_TRUE(F("ID")->Required());
    EXPECT_EQ(F("NAME")->Size(), 10);
    EXPECT_EQ(F("AMOUNT")->Size(), 2);
    EXPECT_TRUE(F("DATA")->IsBlob());
    EXPECT_FALSE(F("NAME")->IsBlob());
    EXPECT_EQ(F("PRICE")->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(F("NAME")->Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(F("NAME")->DisplayWidth(), 10);
    EXPECT_EQ(F("SMALL")->DisplayWidth(), 6);
}

TEST(FieldFactory, AutoIncIsNeverRequiredAndUnknownTypesAreRefused)
{
    TFieldDef autoInc = Def("N", ftAutoInc, 0, true);
    std::unique_ptr<TField> field(CreateFieldForDef(autoInc, nullptr));
    EXPECT_EQ(field->ClassName(), QStringLiteral("TAutoIncField"));
    EXPECT_FALSE(field->Required());

    std::unique_ptr<TField> fixed(CreateFieldForDef(Def("C", ftFixedChar, 4), nullptr));
    EXPECT_TRUE(qobject_cast<TStringField*>(fixed.get())->FixedChar());
    // A text column without a declared length is not cut.
    std::unique_ptr<TField> text(CreateFieldForDef(Def("T", ftString, 0), nullptr));
    EXPECT_EQ(text->Size(), 0);
    EXPECT_EQ(text->DisplayWidth(), 20);

    EXPECT_THROW(CreateFieldForDef(Def("X", ftCursor), nullptr), EDatabaseError);
    EXPECT_THROW(CreateFieldForDef(Def("X", ftUnknown), nullptr), EDatabaseError);
}

// --- Conversions ------------------------------------------------------------------

TEST_F(FieldTest, ReadingConvertsAndRefusesValuesThatDoNotConvert)
{
    Open();
    EXPECT_EQ(F("ID")->AsString(), QStringLiteral("1"));
    EXPECT_EQ(F("SMALL")->AsInteger(), 5);
    EXPECT_DOUBLE_EQ(F("PRICE")->AsFloat(), 1234.5);
    EXPECT_EQ(F("PRICE")->AsInteger(), 1235);  // halves away from zero
    EXPECT_EQ(F("AMOUNT")->AsCurrency(), TCurrency::FromTicks(12345));
    EXPECT_EQ(F("AMOUNT")->AsString(), QStringLiteral("1.2345"));
    EXPECT_TRUE(F("FLAG")->AsBoolean());
    EXPECT_EQ(F("BORN")->AsDateTime(), EncodeDate(2020, 2, 29));
    EXPECT_EQ(F("NOTES")->AsString(), QStringLiteral("first note"));
    EXPECT_EQ(F("DATA")->AsBytes(), QByteArray("\x01\x02\x03", 3));

    // A string that is not a number is refused, whatever is asked of it.
    EXPECT_THROW(F("NAME")->AsInteger(), EConvertError);
    EXPECT_THROW(F("NAME")->AsFloat(), EConvertError);
    EXPECT_THROW(F("NAME")->AsBoolean(), EConvertError);
    EXPECT_THROW(F("FLAG")->AsInteger(), EConvertError);
    EXPECT_THROW(F("BORN")->AsBoolean(), EConvertError);

    items_->Next();  // Bob: Nulls read as the type's empty value
    EXPECT_TRUE(F("SMALL")->IsNull());
    EXPECT_EQ(F("SMALL")->AsInteger(), 0);
    EXPECT_EQ(F("SMALL")->AsString(), QString());
    EXPECT_EQ(F("BORN")->AsDateTime(), 0.0);
}

struct BadValue {
    const char* field;
    Variant value;
    const char* message;  // a part of the message, "" when any
};

class FieldRefuses : public FieldTest, public ::testing::WithParamInterface<BadValue> {};

TEST_P(FieldRefuses, BadValuesRaiseEConvertErrorAndChangeNothing)
{
    Open();
    items_->Edit();
    TField* field = F(GetParam().field);
    const Variant before = field->AsVariant();
    try {
        field->SetAsVariant(GetParam().value);
        FAIL() << "accepted";
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(GetParam().message))) << e.Message().toStdString();
    }
    EXPECT_TRUE(field->AsVariant().SameAs(before));
    EXPECT_FALSE(items_->Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldRefuses,
    ::testing::Values(BadValue{"ID", Variant("abc"), "'abc' is not a valid integer value"},
                      BadValue{"SMALL", Variant(70000), "The allowed range is -32768 to 32767"},
                      BadValue{"SMALL", Variant("-32769"), "allowed range"},
                      BadValue{"ID", Variant(qint64(1) << 40), "allowed range"},
                      BadValue{"ID", Variant(true), ""}, BadValue{"PRICE", Variant("1,5"), "floating point"},
                      BadValue{"FLAG", Variant("maybe"), "not a valid boolean value"},
                      BadValue{"BORN", Variant("31/31/2020"), ""}, BadValue{"AMOUNT", Variant("12x"), "BCD"}));

TEST_F(FieldTest, WritingConvertsToTheStoredKind)
{
    Open();
    items_->Edit();
    F("SMALL")->SetAsString(QStringLiteral(" 42 "));
    EXPECT_TRUE(F("SMALL")->AsVariant().SameAs(Variant(qint16(42))));
    F("ID")->SetAsFloat(7.5);
    EXPECT_EQ(F("ID")->AsInteger(), 8);
    F("NAME")->SetAsString(QStringLiteral("A name longer than ten"));
    EXPECT_EQ(F("NAME")->AsString(), QStringLiteral("A name lon"));
    F("PRICE")->SetAsString(QStringLiteral("2.5E3"));
    EXPECT_DOUBLE_EQ(F("PRICE")->AsFloat(), 2500.0);
    F("AMOUNT")->SetAsFloat(1.005);  // two decimals kept
    EXPECT_EQ(F("AMOUNT")->AsCurrency(), TCurrency::FromTicks(10100));
    F("BORN")->SetAsDateTime(EncodeDate(2021, 3, 4) + 0.75);  // a date field drops the time
    EXPECT_EQ(F("BORN")->AsDateTime(), EncodeDate(2021, 3, 4));
    F("SMALL")->SetAsString(QString());
    EXPECT_TRUE(F("SMALL")->IsNull());
    items_->Post();
    EXPECT_TRUE(items_->Rows()[0][2].IsNull());
    EXPECT_TRUE(items_->Rows()[0][0].SameAs(Variant(8)));
}

struct BooleanText {
    const char* displayValues;
    const char* text;
    bool expected;
};

class BooleanFromText : public FieldTest, public ::testing::WithParamInterface<BooleanText> {};

TEST_P(BooleanFromText, ReadsTheFieldsTextsAPrefixOrTheDefaultTexts)
{
    Open();
    auto* flag = qobject_cast<TBooleanField*>(F("FLAG"));
    flag->SetDisplayValues(QString::fromUtf8(GetParam().displayValues));
    items_->Edit();
    flag->SetAsBoolean(!GetParam().expected);
    flag->SetText(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(flag->AsBoolean(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, BooleanFromText,
                         ::testing::Values(BooleanText{"", "true", true}, BooleanText{"", "FALSE", false},
                                           BooleanText{"", "t", true}, BooleanText{"Yes;No", "yes", true},
                                           BooleanText{"Yes;No", "n", false}, BooleanText{"Yes;No", "False", false},
                                           BooleanText{"Sí;No", "sí", true}));

// --- Text forms ---------------------------------------------------------------------

TEST_F(FieldTest, DisplayTextUsesTheDisplayFormatAndTextTheEditForm)
{
    Open();
    auto* price = qobject_cast<TFloatField*>(F("PRICE"));
    EXPECT_EQ(price->DisplayText(), QStringLiteral("1234.5"));
    price->SetDisplayFormat(QStringLiteral("#,##0.00"));
    EXPECT_EQ(price->DisplayText(), QStringLiteral("1,234.50"));
    EXPECT_EQ(price->Text(), QStringLiteral("1234.5"));
    price->SetEditFormat(QStringLiteral("0.000"));
    EXPECT_EQ(price->Text(), QStringLiteral("1234.500"));

    price->SetDisplayFormat(QString());
    price->SetEditFormat(QString());
    price->SetCurrency(true);
    EXPECT_EQ(price->DisplayText(), QStringLiteral("$1,234.50"));
    EXPECT_EQ(price->Text(), QStringLiteral("1234.50"));

    auto* id = qobject_cast<TIntegerField*>(F("ID"));
    id->SetDisplayFormat(QStringLiteral("000"));
    EXPECT_EQ(id->DisplayText(), QStringLiteral("001"));
    EXPECT_EQ(id->Text(), QStringLiteral("1"));

    auto* born = qobject_cast<TDateTimeField*>(F("BORN"));
    born->SetDisplayFormat(QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(born->DisplayText(), QStringLiteral("2020-02-29"));
    EXPECT_EQ(born->Text(), DateToStr(EncodeDate(2020, 2, 29)));

    EXPECT_EQ(F("FLAG")->DisplayText(), QStringLiteral("True"));
    qobject_cast<TBooleanField*>(F("FLAG"))->SetDisplayValues(QStringLiteral("Yes;No"));
    EXPECT_EQ(F("FLAG")->DisplayText(), QStringLiteral("Yes"));
    EXPECT_EQ(F("AMOUNT")->DisplayText(), QStringLiteral("1.2345"));
}

TEST_F(FieldTest, BlobTextsShowTheKindInCapitalsWhenThereIsAValue)
{
    Open();
    EXPECT_EQ(F("DATA")->DisplayText(), QStringLiteral("(BLOB)"));
    EXPECT_EQ(F("NOTES")->DisplayText(), QStringLiteral("(MEMO)"));
    EXPECT_EQ(F("NOTES")->Text(), QStringLiteral("first note"));
    EXPECT_EQ(F("PIC")->DisplayText(), QStringLiteral("(graphic)"));
    EXPECT_EQ(F("ADDR")->DisplayText(), QStringLiteral("(ADT)"));
    items_->Next();  // an empty memo and a Null blob
    EXPECT_EQ(F("DATA")->DisplayText(), QStringLiteral("(blob)"));
    EXPECT_EQ(F("NOTES")->DisplayText(), QStringLiteral("(memo)"));
}

TEST_F(FieldTest, OnGetTextOverridesBothFormsAndOnSetTextReplacesParsing)
{
    Open();
    TField* small = F("SMALL");
    QList<bool> asked;
    small->OnGetText = [&asked](TField* sender, QString& text, bool displayText) {
        asked << displayText;
        text = QStringLiteral("<%1>").arg(sender->AsInteger());
    };
    EXPECT_EQ(small->DisplayText(), QStringLiteral("<5>"));
    EXPECT_EQ(small->Text(), QStringLiteral("<5>"));
    EXPECT_EQ(asked, (QList<bool>{true, false}));

    small->OnSetText = [](TField* sender, const QString& text) {
        sender->SetAsInteger(text == QLatin1String("one") ? 1 : 2);
    };
    items_->Edit();
    small->SetText(QStringLiteral("one"));  // not a number: the handler decides
    EXPECT_EQ(small->AsInteger(), 1);
}

TEST_F(FieldTest, IsValidCharFollowsTheType)
{
    Open();
    EXPECT_TRUE(F("ID")->IsValidChar(QLatin1Char('7')));
    EXPECT_TRUE(F("ID")->IsValidChar(QLatin1Char('-')));
    EXPECT_FALSE(F("ID")->IsValidChar(QLatin1Char('.')));
    EXPECT_FALSE(F("ID")->IsValidChar(QLatin1Char('E')));
    EXPECT_TRUE(F("PRICE")->IsValidChar(QLatin1Char('.')));
    EXPECT_TRUE(F("PRICE")->IsValidChar(QLatin1Char('E')));
    EXPECT_FALSE(F("PRICE")->IsValidChar(QLatin1Char('x')));
    EXPECT_TRUE(F("AMOUNT")->IsValidChar(QLatin1Char('.')));
    EXPECT_FALSE(F("AMOUNT")->IsValidChar(QLatin1Char('E')));
    EXPECT_TRUE(F("NAME")->IsValidChar(QLatin1Char('x')));
}

// --- Rules on writing ------------------------------------------------------------------

TEST_F(FieldTest, ReadOnlyAndCalculatedFieldsRefuseWritesOutsideCalculation)
{
    Open();
    TField* name = F("NAME");
    name->SetReadOnly(true);
    EXPECT_FALSE(name->CanModify());
    EXPECT_TRUE(F("ID")->CanModify());
    items_->Edit();
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { name->SetAsString(QStringLiteral("Zed")); }),
              QStringLiteral("Field 'NAME' cannot be modified"));
    EXPECT_EQ(name->AsString(), QStringLiteral("Ann"));
    items_->Cancel();
    // Outside edit state the dataset refuses.
    EXPECT_THROW(F("ID")->SetAsInteger(5), EDatabaseError);
}

TEST_F(FieldTest, OnValidateSeesTheNewValueAndCanRefuseIt)
{
    Open();
    TField* price = F("PRICE");
    double seen = 0;
    int changes = 0;
    price->OnValidate = [&seen](TField* sender) {
        seen = sender->AsFloat();
        if (seen < 0)
            throw EDatabaseError(QStringLiteral("negative"));
    };
    price->OnChange = [&changes](TField*) { ++changes; };
    items_->Edit();
    price->SetAsFloat(9.5);
    EXPECT_EQ(seen, 9.5);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(price->SetAsFloat(-1), EDatabaseError);
    EXPECT_EQ(price->AsFloat(), 9.5);
    EXPECT_EQ(changes, 1);
}

TEST_F(FieldTest, RequiredFieldWithoutValueStopsPost)
{
    Open();
    items_->Edit();
    F("ID")->Clear();  // allowed until the record is posted
    EXPECT_THROW(F("ID")->CheckRequired(), EDatabaseError);
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { items_->Post(); }),
              QStringLiteral("Field 'ID' must have a value"));
    EXPECT_TRUE(items_->Rows()[0][0].SameAs(Variant(1)));
    F("ID")->SetAsInteger(11);
    items_->Post();
    EXPECT_TRUE(items_->Rows()[0][0].SameAs(Variant(11)));
}

// --- Lookup and calculated fields ----------------------------------------------------

class LookupTest : public FieldTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LookupTest, LookupFieldFollowsTheKeyAndTheCacheUntilRefreshed)
{
    const bool cached = GetParam();
    auto customers = Customers();
    items_ = std::make_unique<RowDataSet>(defs_, rows_);
    auto* lookup = new TStringField(items_.get());
    lookup->SetFieldName(QStringLiteral("CUSTNAME"));
    lookup->SetFieldKind(fkLookup);
    lookup->SetKeyFields(QStringLiteral("CUST"));
    lookup->SetLookupDataSet(customers.get());
    lookup->SetLookupKeyFields(QStringLiteral("CODE"));
    lookup->SetLookupResultField(QStringLiteral("LABEL"));
    lookup->SetLookupCache(cached);
    // Persistent fields: the data fields too, so the lookup one joins them.
    for (const TFieldDef& def : defs_)
        CreateFieldForDef(def, items_.get())->SetDataSet(items_.get());
    lookup->SetDataSet(items_.get());
    items_->Open();

    EXPECT_EQ(lookup->AsString(), QStringLiteral("Acme"));
    items_->Next();
    EXPECT_EQ(lookup->AsString(), QStringLiteral("Globex"));
    items_->Next();
    EXPECT_TRUE(lookup->IsNull());  // key 99 has no customer
    items_->First();

    // The customer's label changes behind the cache.
    customers->Edit();
    customers->FieldByName(QStringLiteral("LABEL"))->SetAsString(QStringLiteral("Acme Ltd"));
    customers->Post();
    customers->First();
    EXPECT_EQ(lookup->AsString(), cached ? QStringLiteral("Acme") : QStringLiteral("Acme Ltd"));
    lookup->RefreshLookupList();
    EXPECT_EQ(lookup->AsString(), QStringLiteral("Acme Ltd"));

    // Setting a lookup field writes the key of the matching record.
    EXPECT_TRUE(lookup->CanModify());
    items_->Edit();
    lookup->SetAsString(QStringLiteral("Globex"));
    EXPECT_EQ(items_->FieldByName(QStringLiteral("CUST"))->AsInteger(), 20);
    EXPECT_THROW(lookup->SetAsString(QStringLiteral("Nobody")), EDatabaseError);
    EXPECT_EQ(items_->FieldByName(QStringLiteral("CUST"))->AsInteger(), 20);
    items_->Cancel();
}

INSTANTIATE_TEST_SUITE_P(Fields, LookupTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "WithCache" : "WithoutCache";
                         });

TEST_F(FieldTest, CalculatedFieldHasTheValueOfWhicheverRecordIsActive)
{
    items_ = std::make_unique<RowDataSet>(defs_, rows_);
    for (const TFieldDef& def : defs_)
        CreateFieldForDef(def, items_.get())->SetDataSet(items_.get());
    auto* doubled = new TFloatField(items_.get());
    doubled->SetFieldName(QStringLiteral("DOUBLED"));
    doubled->SetFieldKind(fkCalculated);
    doubled->SetDataSet(items_.get());
    items_->OnCalcFields = [](TDataSet* dataSet) {
        dataSet->FieldByName(QStringLiteral("DOUBLED"))
            ->SetAsFloat(dataSet->FieldByName(QStringLiteral("PRICE"))->AsFloat() * 2);
    };
    TDataSource source;
    source.SetDataSet(items_.get());
    CountingLink link;
    link.SetDataSource(&source);
    link.SetBufferCount(3);
    items_->Open();

    EXPECT_DOUBLE_EQ(doubled->AsFloat(), 2469.0);
    EXPECT_FALSE(doubled->CanModify());
    // A grid reads every row of its window by making it active.
    const double expected[] = {2469.0, 4.0, 0.5};
    for (int row = 0; row < 3; ++row) {
        link.SetActiveRecord(row);
        EXPECT_DOUBLE_EQ(doubled->AsFloat(), expected[row]) << row;
    }
    link.SetActiveRecord(0);
    items_->Edit();
    EXPECT_THROW(doubled->SetAsFloat(1), EDatabaseError);  // only OnCalcFields writes it
    items_->FieldByName(QStringLiteral("PRICE"))->SetAsFloat(10);
    EXPECT_DOUBLE_EQ(doubled->AsFloat(), 20.0);
    items_->Cancel();
}

// --- Blob streams and files -----------------------------------------------------------

TEST_F(FieldTest, BlobStreamsReadWriteReplaceAndReadWriteAtThePosition)
{
    Open();
    TField* data = F("DATA");
    {
        auto reader = items_->CreateBlobStream(data, bmRead);
        EXPECT_EQ(reader->Size(), 3);
        char bytes[8] = {};
        EXPECT_EQ(reader->Read(bytes, 8), 3);
        EXPECT_EQ(QByteArray(bytes, 3), QByteArray("\x01\x02\x03", 3));
        EXPECT_EQ(reader->Write("x", 1), -1);  // a read stream is not writable
    }
    // Writing needs an edited record; refused at once, not at the end.
    EXPECT_THROW(items_->CreateBlobStream(data, bmWrite), EDatabaseError);

    items_->Edit();
    {
        auto writer = items_->CreateBlobStream(data, bmWrite);
        EXPECT_EQ(writer->Size(), 0);
        writer->Write("new", 3);
    }
    EXPECT_EQ(data->AsBytes(), QByteArray("new"));
    {
        auto both = items_->CreateBlobStream(data, bmReadWrite);
        both->Seek(both->Size());
        both->Write("er", 2);
        both->Seek(0);
        both->Write("N", 1);
        both->close();
    }
    EXPECT_EQ(data->AsBytes(), QByteArray("Newer"));
    {
        auto untouched = items_->CreateBlobStream(data, bmReadWrite);  // nothing written: no change
    }
    EXPECT_EQ(data->AsBytes(), QByteArray("Newer"));
    {
        auto memo = items_->CreateBlobStream(F("NOTES"), bmWrite);
        const QByteArray utf8 = QStringLiteral("café").toUtf8();
        memo->Write(utf8.constData(), utf8.size());
    }
    EXPECT_EQ(F("NOTES")->AsString(), QStringLiteral("café"));
    items_->Post();
    EXPECT_TRUE(items_->Rows()[0][8].SameAs(Variant(QByteArray("Newer"))));
}

TEST_F(FieldTest, BlobFilesLoadAndSaveWithoutLosingData)
{
    test::TempFolder folder;
    Open();
    auto* data = qobject_cast<TBlobField*>(F("DATA"));
    const QString target = folder.Write(QStringLiteral("out.bin"), QByteArray("previous"));
    data->SaveToFile(target);
    EXPECT_EQ(folder.Read(QStringLiteral("out.bin")), QByteArray("\x01\x02\x03", 3));
    EXPECT_THROW(data->SaveToFile(folder.File(QStringLiteral("missing/dir/out.bin"))), EInOutError);

    items_->Edit();
    EXPECT_THROW(data->LoadFromFile(folder.File(QStringLiteral("absent.bin"))), EInOutError);
    EXPECT_EQ(data->AsBytes(), QByteArray("\x01\x02\x03", 3));
    data->LoadFromFile(folder.Write(QStringLiteral("in.bin"), QByteArray("\0abc", 4)));
    EXPECT_EQ(data->BlobSize(), 4);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    data->SaveToStream(buffer);
    EXPECT_EQ(buffer.data(), QByteArray("\0abc", 4));
}

TEST_F(FieldTest, GraphicFieldHoldsABitmapAPictureReadsAndWrites)
{
    Open();
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    TPicture picture;
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->SetImage(image);
    picture.SetGraphic(jpeg.get());

    items_->Edit();
    F("PIC")->Assign(&picture);  // a graphic field stores the picture as a bitmap
    EXPECT_TRUE(F("PIC")->AsBytes().startsWith("BM"));
    TPicture back;
    back.Assign(F("PIC"));
    EXPECT_EQ(back.Graphic()->ClassName(), QStringLiteral("TBitmap"));
    EXPECT_EQ(back.Width(), 5);

    // Older tables put an 8-byte header before the bitmap.
    const QByteArray bitmap = F("PIC")->AsBytes();
    QByteArray withHeader("\x01\x00\x00\x01", 4);
    const quint32 size = static_cast<quint32>(bitmap.size());
    withHeader.append(reinterpret_cast<const char*>(&size), 4);
    F("PIC")->SetAsVariant(Variant(withHeader + bitmap));
    TPicture old;
    old.Assign(F("PIC"));
    EXPECT_EQ(old.Height(), 3);

    F("DATA")->Assign(&picture);  // other blobs keep the format
    TPicture fromBlob;
    fromBlob.Assign(F("DATA"));
    EXPECT_EQ(fromBlob.Graphic()->ClassName(), QStringLiteral("TJPEGImage"));

    F("PIC")->SetAsVariant(Variant(QByteArray("not a picture")));
    EXPECT_THROW(back.Assign(F("PIC")), EInvalidGraphic);
    EXPECT_EQ(back.Width(), 5);
    F("PIC")->Clear();
    back.Assign(F("PIC"));
    EXPECT_TRUE(back.Empty());
}

// --- Object fields --------------------------------------------------------------------

TEST_F(FieldTest, ObjectFieldChildrenHaveFullNamesAndFollowTheirParentInFieldList)
{
    Open();
    auto* addr = qobject_cast<TObjectField*>(F("ADDR"));
    ASSERT_NE(addr, nullptr);
    ASSERT_EQ(addr->FieldCount(), 2);
    EXPECT_EQ(addr->Fields()[1]->FullName(), QStringLiteral("ADDR.CITY"));
    EXPECT_EQ(addr->Fields()[1]->FieldName(), QStringLiteral("CITY"));
    EXPECT_EQ(addr->Fields()[1]->ParentField(), addr);
    QStringList names;
    for (TField* field : items_->FieldList())
        names << field->FullName();
    EXPECT_EQ(names.mid(9, 5), (QStringList{"PIC", "ADDR", "ADDR.STREET", "ADDR.CITY", "CUST"}));
    EXPECT_EQ(items_->FieldByName(QStringLiteral("ADDR.CITY"))->AsString(), QStringLiteral("Lyon"));
    EXPECT_EQ(addr->Fields().FindField(QStringLiteral("city")), addr->Fields()[1]);
    EXPECT_EQ(items_->FindField(QStringLiteral("CITY")), nullptr);  // only by full name

    const Variant value = addr->AsVariant();
    ASSERT_TRUE(value.IsArray());
    EXPECT_EQ(value.Elements()[0].ToString(), QStringLiteral("Main St"));
    items_->Next();
    EXPECT_TRUE(addr->IsNull());  // every part Null

    items_->Edit();
    addr->SetAsVariant(Variant::FromArray({Variant("Elm St"), Variant("Rome")}));
    EXPECT_EQ(addr->Fields()[0]->AsString(), QStringLiteral("Elm St"));
    EXPECT_THROW(addr->SetAsVariant(Variant::FromArray({Variant("only one")})), EConvertError);
    items_->Post();
    EXPECT_EQ(items_->Rows()[1][11].ToString(), QStringLiteral("Rome"));
}

TEST_F(FieldTest, FreeingAnObjectFieldFreesItsSubFieldsFirstAndTheyLeaveTheDataSet)
{
    items_ = std::make_unique<RowDataSet>(defs_, rows_);
    for (const TFieldDef& def : defs_)
        CreateFieldForDef(def, items_.get())->SetDataSet(items_.get());
    TField* addr = items_->FieldByName(QStringLiteral("ADDR"));
    QPointer<TField> city = items_->FieldByName(QStringLiteral("ADDR.CITY"));
    EXPECT_EQ(city->DataSet(), items_.get());
    bool cityAliveWhenParentNotified = false;
    TComponent observer;
    addr->FreeNotification(&observer, [&](TComponent*) { cityAliveWhenParentNotified = !city.isNull(); });
    const int before = items_->FieldList().Count();
    delete addr;
    EXPECT_TRUE(cityAliveWhenParentNotified);
    EXPECT_TRUE(city.isNull());
    EXPECT_EQ(items_->FieldList().Count(), before - 3);
    EXPECT_EQ(items_->FindField(QStringLiteral("ADDR.CITY")), nullptr);
    items_->Open();  // what is left still binds to its columns
    EXPECT_EQ(items_->FieldByName(QStringLiteral("CUST"))->AsInteger(), 10);
}

// --- Persistent and default fields ------------------------------------------------------

TEST_F(FieldTest, PersistentFieldsSurviveCloseAndDefaultFieldsAreFreedWithNotification)
{
    Open();
    QPointer<TField> defaultField = F("NAME");
    QStringList notified;
    TComponent observer;
    defaultField->FreeNotification(&observer, [&notified](TComponent* component) {
        notified << QStringLiteral("%1 destroying=%2")
                        .arg(qobject_cast<TField*>(component)->FieldName())
                        .arg(component->HasState(TComponentStateFlag::csDestroying));
    });
    items_->Close();
    EXPECT_TRUE(defaultField.isNull());
    EXPECT_EQ(notified, QStringList{QStringLiteral("NAME destroying=1")});
    EXPECT_EQ(items_->FieldCount(), 0);

    auto* name = new TStringField(items_.get());
    name->SetFieldName(QStringLiteral("NAME"));
    name->SetDisplayLabel(QStringLiteral("Customer"));
    name->SetDataSet(items_.get());
    items_->Open();
    EXPECT_FALSE(items_->DefaultFields());
    EXPECT_EQ(items_->FieldCount(), 1);
    EXPECT_EQ(name->AsString(), QStringLiteral("Ann"));
    EXPECT_THROW(name->SetDataSet(nullptr), EDatabaseError);  // not while open
    items_->Close();
    EXPECT_EQ(items_->FieldCount(), 1);
    EXPECT_EQ(items_->Fields()[0], name);
    EXPECT_EQ(name->DisplayLabel(), QStringLiteral("Customer"));

    delete name;  // detaches itself
    EXPECT_EQ(items_->FieldCount(), 0);
}

TEST_F(FieldTest, PersistentFieldsStreamByClassName)
{
    items_ = std::make_unique<RowDataSet>(defs_, rows_);
    items_->SetName(QStringLiteral("Items"));
    auto* price = new TFloatField(items_.get());
    price->SetName(QStringLiteral("ItemsPrice"));
    price->SetFieldName(QStringLiteral("PRICE"));
    price->SetDisplayFormat(QStringLiteral("0.0"));
    price->SetCurrency(true);
    const QString text = ObjectToText(items_.get());
    EXPECT_TRUE(text.contains(QStringLiteral("object ItemsPrice: TFloatField"))) << text.toStdString();

    RowDataSet copy(defs_, rows_);
    ObjectFromText(&copy, text);
    auto* read = copy.findChild<TFloatField*>(QStringLiteral("ItemsPrice"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->FieldName(), QStringLiteral("PRICE"));
    EXPECT_EQ(read->DisplayFormat(), QStringLiteral("0.0"));
    EXPECT_TRUE(read->Currency());
}

// --- Notifications ---------------------------------------------------------------------

struct PropertyCase {
    const char* name;
    std::function<void(TField*)> change;
    const char* event;
};

void PrintTo(const PropertyCase& c, std::ostream* os)
{
    *os << c.name;
}

class DisplayProperty : public FieldTest, public ::testing::WithParamInterface<PropertyCase> {};

TEST_P(DisplayProperty, ChangeReachesTheLinksOnceAndNotWhenUnchanged)
{
    Open();
    TDataSource source;
    source.SetDataSet(items_.get());
    CountingLink link;
    link.SetDataSource(&source);
    link.events.clear();
    GetParam().change(F("NAME"));
    EXPECT_EQ(link.events, QStringList{QString::fromLatin1(GetParam().event)});
    link.events.clear();
    GetParam().change(F("NAME"));  // the same value again
    EXPECT_TRUE(link.events.isEmpty()) << link.events.join(QLatin1Char(' ')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Fields, DisplayProperty,
    ::testing::Values(PropertyCase{"Index", [](TField* f) { f->SetIndex(3); }, "Layout"},
                      PropertyCase{"Visible", [](TField* f) { f->SetVisible(false); }, "Layout"},
                      PropertyCase{"DisplayLabel", [](TField* f) { f->SetDisplayLabel(QStringLiteral("Who")); },
                                   "Changed"},
                      PropertyCase{"DisplayWidth", [](TField* f) { f->SetDisplayWidth(30); }, "Changed"},
                      PropertyCase{"Alignment", [](TField* f) { f->SetAlignment(TAlignment::taCenter); },
                                   "Changed"},
                      PropertyCase{"ReadOnly", [](TField* f) { f->SetReadOnly(true); }, "Changed"}),
    [](const ::testing::TestParamInfo<PropertyCase>& info) { return std::string(info.param.name); });

TEST_F(FieldTest, AlignmentIsPublishedByName)
{
    Open();
    EXPECT_EQ(GetPropText(F("PRICE"), QStringLiteral("Alignment")), QStringLiteral("taRightJustify"));
    SetPropText(F("NAME"), QStringLiteral("Alignment"), QStringLiteral("taCenter"));
    EXPECT_EQ(F("NAME")->Alignment(), taCenter);
    // Only the three names (or their ordinals) are values.
    EXPECT_THROW(SetPropText(F("NAME"), QStringLiteral("Alignment"), QStringLiteral("taNowhere")),
                 EPropertyError);
    EXPECT_THROW(SetPropText(F("NAME"), QStringLiteral("Alignment"), QStringLiteral("7")), EPropertyError);
    EXPECT_EQ(F("NAME")->Alignment(), taCenter);
    EXPECT_TRUE(ObjectToText(F("NAME")).contains(QStringLiteral("Alignment = taCenter")));
}

TEST_F(FieldTest, IndexMovesTheFieldInFieldsAndFieldList)
{
    Open();
    F("CUST")->SetIndex(0);
    EXPECT_EQ(items_->Fields()[0]->FieldName(), QStringLiteral("CUST"));
    EXPECT_EQ(items_->FieldList()[0]->FieldName(), QStringLiteral("CUST"));
    EXPECT_EQ(F("CUST")->Index(), 0);
    EXPECT_EQ(F("ID")->Index(), 1);
    EXPECT_EQ(F("CUST")->AsInteger(), 10);  // still reads its own column
}

}  // namespace
}  // namespace tk

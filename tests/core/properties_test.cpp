#include "toolkit/core/collection.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/strings.h"

#include "tests/support/expect_raises.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace tk {
namespace {

class TTestFont : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name MEMBER name)
    Q_PROPERTY(int Size MEMBER size)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Size", "8")
public:
    // fsBoldItalic is a shorthand, not an element of its own.
    enum TFontStyle { fsBold = 1, fsBoldItalic = 3, fsItalic = 2, fsUnderline = 4 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    using TPersistent::TPersistent;
    void Assign(const TPersistent* source) override { AssignPublishedProperties(this, source); }
    TFontStyles Style() const { return style; }
    void SetStyle(TFontStyles value) { style = value; }
    QString name = QStringLiteral("Sans");
    int size = 8;
    TFontStyles style;
};

class TTestButton : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(int Width MEMBER width)
    Q_PROPERTY(quint8 Level MEMBER level)
    Q_PROPERTY(double Ratio MEMBER ratio)
    Q_PROPERTY(bool Default MEMBER isDefault)
    Q_PROPERTY(QChar Accelerator MEMBER accelerator)
    Q_PROPERTY(QStringList Hints MEMBER hints)
    Q_PROPERTY(TModalResult ModalResult MEMBER modalResult)
    Q_PROPERTY(TTestFont* Font READ Font)
    Q_PROPERTY(bool ParentFont MEMBER parentFont)
    Q_PROPERTY(int Handle READ Handle)
    Q_PROPERTY(QString Scratch MEMBER scratch STORED false)
    Q_CLASSINFO("Default:Width", "75")
    Q_CLASSINFO("Default:Ratio", "1.0")
    Q_CLASSINFO("Default:ModalResult", "mrnone")
public:
    enum TModalResult { mrNone, mrOk, mrCancel };
    Q_ENUM(TModalResult)

    TTestButton(QObject* owner, const QString& name) : TComponent(owner), font(new TTestFont(this))
    {
        SetName(name);
    }
    TTestFont* Font() const { return font; }
    int Handle() const { return 42; }
    Q_INVOKABLE bool IsFontStored() const { return !parentFont; }

    QString caption;
    int width = 75;
    quint8 level = 0;
    double ratio = 1;
    bool isDefault = false;
    QChar accelerator;
    QStringList hints;
    TModalResult modalResult = mrNone;
    TTestFont* font;
    bool parentFont = false;
    QString scratch;
};

// Re-declares Caption in lower case: lookups must reach this one first.
class TTestBitButton : public TTestButton {
    Q_OBJECT
    Q_PROPERTY(QString caption READ Caption WRITE SetCaption)
    Q_CLASSINFO("Default:Width", "100")
public:
    using TTestButton::TTestButton;
    QString Caption() const { return caption; }
    void SetCaption(const QString& value) { caption = QStringLiteral("[%1]").arg(value); }
};

class TTestColumn : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    Q_INVOKABLE explicit TTestColumn(tk::TCollection* collection) : TCollectionItem(collection) {}
    QString caption;
};

class TTestListView : public TComponent {
    Q_OBJECT
    Q_PROPERTY(tk::TCollection* Columns READ Columns)
    Q_PROPERTY(tk::TStrings* Items READ Items)
    Q_PROPERTY(TTestFont* Font READ Font)
public:
    TTestListView(QObject* owner, const QString& name)
        : TComponent(owner), columns(new TCollection(&TTestColumn::staticMetaObject, this)),
          items(new TStringList(this))
    {
        SetName(name);
    }
    TCollection* Columns() const { return columns; }
    TStrings* Items() const { return items; }
    TTestFont* Font() const { return nullptr; }  // no font of its own
    TCollection* columns;
    TStringList* items;
};

// A form as the application builds it: a widget owning components.
class TTestForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)
    Q_PROPERTY(TTestFont* Font READ Font)
public:
    TTestForm()
        : font(new TTestFont(this)), btnOK(new TTestButton(this, QStringLiteral("btnOK"))),
          lvFiles(new TTestListView(new QWidget(this), QStringLiteral("lvFiles")))
    {
        // Columns with IDs 0, 1 and 5: index 2 is ID 5.
        for (int i = 0; i < 6; ++i)
            lvFiles->columns->Add();
        for (int id : {4, 3, 2})
            lvFiles->columns->Delete(id);
    }
    TTestFont* Font() const { return font; }
    TTestColumn* Column(int index) const { return static_cast<TTestColumn*>(lvFiles->columns->Items(index)); }
    TTestFont* font;
    TTestButton* btnOK;
    TTestListView* lvFiles;
};

using test::MessageOf;

QStringList Names(const QList<QMetaProperty>& properties)
{
    QStringList names;
    for (const QMetaProperty& property : properties)
        names << QString::fromLatin1(property.name());
    return names;
}

// --- Lookup -------------------------------------------------------------------

TEST(Properties, LookupIgnoresCaseAndSkipsObjectName)
{
    TTestButton button(nullptr, QStringLiteral("b"));
    EXPECT_STREQ(FindPublishedProperty(&button, QStringLiteral("mODALrESULT")).name(), "ModalResult");
    EXPECT_FALSE(FindPublishedProperty(&button, QStringLiteral("objectName")).isValid());
    EXPECT_FALSE(FindPublishedProperty(&button, QStringLiteral("Missing")).isValid());
    const QStringList names = Names(PublishedProperties(&button));
    // Every component publishes Name and Tag first.
    EXPECT_EQ(names.mid(0, 4), QStringList({"Name", "Tag", "Caption", "Width"}));
    EXPECT_EQ(names.size(), 14);
}

TEST(Properties, MostDerivedDeclarationWins)
{
    TTestBitButton button(nullptr, QStringLiteral("b"));
    SetPropText(&button, QStringLiteral("Caption"), QStringLiteral("Go"));
    EXPECT_EQ(button.caption, QStringLiteral("[Go]"));
    const QStringList names = Names(PublishedProperties(&button));
    EXPECT_EQ(names.count(QStringLiteral("caption")) + names.count(QStringLiteral("Caption")), 1);
    EXPECT_EQ(names.indexOf(QStringLiteral("caption")), 2);  // at the base property's place

    // A Qt class's own property ("font", a QFont) is hidden by the form's Font.
    TTestForm form;
    EXPECT_TRUE(IsObjectProperty(FindPublishedProperty(&form, QStringLiteral("font"))));
}

// --- Text conversion ----------------------------------------------------------

// Keys as translations write them; each converts the text to the property's
// type and reads back in the canonical text form.
struct TextCase {
    const char* path;
    const char* text;
    const char* expected;
};

class PropertyText : public testing::TestWithParam<TextCase> {};

TEST_P(PropertyText, ConvertsToThePropertyTypeAndBack)
{
    TTestForm form;
    const QString path = QString::fromLatin1(GetParam().path);
    SetPropertyPath(&form, path, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(GetPropertyPath(&form, path), QString::fromUtf8(GetParam().expected)) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PropertyText,
    testing::Values(TextCase{"btnOK.Caption", " as is ", " as is "}, TextCase{"btnOK.Width", "42", "42"},
                    TextCase{"btnOK.Width", " -7 ", "-7"}, TextCase{"btnOK.Width", "$1F", "31"},
                    TextCase{"btnOK.Width", "0x1f", "31"}, TextCase{"btnOK.Width", "-$10", "-16"},
                    TextCase{"btnOK.Width", "-2147483648", "-2147483648"},
                    TextCase{"btnOK.Level", "255", "255"}, TextCase{"btnOK.Ratio", "2.5", "2.5"},
                    TextCase{"btnOK.Ratio", "1e3", "1000"}, TextCase{"btnOK.Ratio", "0.1", "0.1"},
                    TextCase{"btnOK.Default", "tRUE", "True"}, TextCase{"btnOK.Default", "0", "False"},
                    TextCase{"btnOK.Accelerator", "xyz", "x"}, TextCase{"btnOK.Accelerator", "", ""},
                    TextCase{"btnOK.ModalResult", "MROK", "mrOk"},
                    TextCase{"btnOK.ModalResult", "2", "mrCancel"},
                    TextCase{"btnOK.Hints", "a\nb", "a\r\nb\r\n"},
                    TextCase{"Font.Style", "[fsBold, fsItalic]", "[fsBold,fsItalic]"},
                    TextCase{"Font.Style", " fsItalic,FSBOLD ", "[fsBold,fsItalic]"},
                    TextCase{"Font.Style", "[]", "[]"}, TextCase{"Font.Style", "", "[]"},
                    TextCase{"Font.Style", "[fsUnderline,fsBoldItalic]", "[fsBold,fsItalic,fsUnderline]"}));

struct ErrorCase {
    const char* path;
    const char* text;
    bool convertError;  // EConvertError rather than EPropertyError
    const char* message;
};

class PropertyTextErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(PropertyTextErrors, RaiseWithTheMessageUsersSeeAndChangeNothing)
{
    TTestForm form;
    const ErrorCase& c = GetParam();
    const auto set = [&] { SetPropertyPath(&form, QString::fromLatin1(c.path), QString::fromUtf8(c.text)); };
    if (c.convertError)
        EXPECT_EQ(MessageOf<EConvertError>(set), QString::fromUtf8(c.message)) << c.path;
    else
        EXPECT_EQ(MessageOf<EPropertyError>(set), QString::fromUtf8(c.message)) << c.path;
    EXPECT_EQ(form.btnOK->width, 75);
    EXPECT_EQ(form.font->style, TTestFont::TFontStyles());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PropertyTextErrors,
    testing::Values(ErrorCase{"btnOK.Width", "12a", true, "'12a' is not a valid integer value"},
                    ErrorCase{"btnOK.Width", "", true, "'' is not a valid integer value"},
                    ErrorCase{"btnOK.Width", "2147483648", true, "'2147483648' is not a valid integer value"},
                    ErrorCase{"btnOK.Level", "256", true, "'256' is not a valid integer value"},
                    ErrorCase{"btnOK.Level", "-1", true, "'-1' is not a valid integer value"},
                    ErrorCase{"btnOK.Ratio", "1,5", true, "'1,5' is not a valid floating point value"},
                    ErrorCase{"btnOK.Default", "yes", false, "Invalid property value"},
                    ErrorCase{"btnOK.ModalResult", "mrMaybe", false, "Invalid property value"},
                    ErrorCase{"btnOK.ModalResult", "7", false, "Invalid property value"},
                    ErrorCase{"btnOK.Font", "x", false, "Invalid property value"},
                    ErrorCase{"Font.Style", "[fsBold,fsWide]", false, "Invalid property value"},
                    ErrorCase{"Font.Style", "[fsBold", false, "Invalid property value"},
                    ErrorCase{"Font.Style", "[fsBold,,fsItalic]", false, "Invalid property value"},
                    ErrorCase{"btnOK.Nope", "1", false, "Property Nope does not exist"},
                    ErrorCase{"btnOK.Handle", "1", false, "Property Handle is read-only"}));

TEST(Properties, ValuesGoThroughQtConversionsOrAreRefused)
{
    TTestButton button(nullptr, QStringLiteral("b"));
    SetPropValue(&button, QStringLiteral("width"), QStringLiteral("12"));
    EXPECT_EQ(GetPropValue(&button, QStringLiteral("Width")).toInt(), 12);
    EXPECT_EQ(MessageOf<EPropertyError>([&] { SetPropValue(&button, "Width", QStringLiteral("wide")); }),
              QStringLiteral("Invalid property value"));
    EXPECT_EQ(MessageOf<EPropertyError>([&] { SetPropValue(&button, "Handle", 1); }),
              QStringLiteral("Property Handle is read-only"));
}

// --- Object properties --------------------------------------------------------

TEST(Properties, ObjectValuedPropertiesHoldSubObjectsAndStringLists)
{
    TTestForm form;
    EXPECT_EQ(GetObjectProp(form.btnOK, QStringLiteral("font")), form.btnOK->font);
    EXPECT_EQ(GetObjectProp(form.lvFiles, QStringLiteral("Items")), form.lvFiles->items);
    EXPECT_EQ(GetObjectProp(form.lvFiles, QStringLiteral("Font")), nullptr);
    EXPECT_TRUE(IsObjectProperty(FindPublishedProperty(form.lvFiles, QStringLiteral("Columns"))));
    EXPECT_FALSE(IsObjectProperty(FindPublishedProperty(form.btnOK, QStringLiteral("Caption"))));
    EXPECT_THROW(GetObjectProp(form.btnOK, QStringLiteral("Caption")), EPropertyError);
    EXPECT_THROW(GetObjectProp(form.btnOK, QStringLiteral("Missing")), EPropertyError);
}

// --- Paths --------------------------------------------------------------------

struct PathCase {
    const char* path;
    const char* text;
    std::function<QString(const TTestForm&)> actual;
};

class PropertyPaths : public testing::TestWithParam<PathCase> {};

TEST_P(PropertyPaths, ReachTheAddressedProperty)
{
    TTestForm form;
    const QString path = QString::fromLatin1(GetParam().path);
    const QString text = QString::fromUtf8(GetParam().text);
    EXPECT_TRUE(SetPropertyPath(&form, path, text));
    EXPECT_EQ(GetParam().actual(form), text);
    EXPECT_EQ(GetPropertyPath(&form, path), text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PropertyPaths,
    testing::Values(
        PathCase{"SELF.Caption", "Files", [](const TTestForm& f) { return f.windowTitle(); }},
        PathCase{"Caption", "Files", [](const TTestForm& f) { return f.windowTitle(); }},
        PathCase{"btnOK.Font.Name", "Serif", [](const TTestForm& f) { return f.btnOK->font->name; }},
        PathCase{"BTNOK.FONT.NAME", "Serif", [](const TTestForm& f) { return f.btnOK->font->name; }},
        PathCase{"Font.Name", "Mono", [](const TTestForm& f) { return f.font->name; }},
        PathCase{"lvFiles.Items.Text", "one\r\ntwo\r\n",
                 [](const TTestForm& f) { return f.lvFiles->items->Text(); }},
        PathCase{"lvFiles.Items", "one\r\ntwo\r\n",
                 [](const TTestForm& f) { return f.lvFiles->items->Text(); }},
        PathCase{"lvFiles.Items.CommaText", "a,\"b c\"",
                 [](const TTestForm& f) { return f.lvFiles->items->CommaText(); }},
        PathCase{"lvFiles.Columns[2].Caption", "Size",
                 [](const TTestForm& f) { return f.Column(2)->caption; }},
        PathCase{"lvFiles.Columns[5].Caption", "Size",
                 [](const TTestForm& f) { return f.Column(2)->caption; }},
        PathCase{"lvFiles.Columns[ 1 ].Caption", "Date",
                 [](const TTestForm& f) { return f.Column(1)->caption; }}));

TEST(PropertyPath, StringListGetsTheLinesOfTheText)
{
    TTestForm form;
    SetPropertyPath(&form, QStringLiteral("lvFiles.Items.Text"), QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(form.lvFiles->items->ToStringList(), QStringList({"one", "two"}));
}

TEST(PropertyPath, IDsWinOverIndexes)
{
    TCollection columns(&TTestColumn::staticMetaObject);
    for (int i = 0; i < 4; ++i)
        columns.Add();
    columns.Delete(1);  // IDs 0, 2 and 3
    EXPECT_EQ(CollectionItemByIdOrIndex(&columns, 2), columns.Items(1));
    EXPECT_EQ(CollectionItemByIdOrIndex(&columns, 1), columns.Items(1));
    EXPECT_EQ(CollectionItemByIdOrIndex(&columns, 3), columns.Items(2));
    EXPECT_EQ(CollectionItemByIdOrIndex(&columns, 4), nullptr);
    EXPECT_EQ(CollectionItemByIdOrIndex(&columns, -1), nullptr);
}

TEST(PropertyPath, MissingObjectsAreSkipped)
{
    TTestForm form;
    for (const char* path : {"btnGone.Caption", "lvFiles.Font.Name"}) {
        EXPECT_EQ(ResolvePropertyPath(&form, QString::fromLatin1(path)).object, nullptr) << path;
        EXPECT_FALSE(SetPropertyPath(&form, QString::fromLatin1(path), QStringLiteral("x"))) << path;
    }
    const TPropertyTarget target = ResolvePropertyPath(&form, QStringLiteral("btnOK.Font.Size"));
    EXPECT_EQ(target.object, form.btnOK->font);
    EXPECT_EQ(target.property, QStringLiteral("Size"));
}

TEST(PropertyPath, BrokenPathsRaise)
{
    TTestForm form;
    const std::pair<const char*, const char*> cases[] = {
        {"btnOK.Nope.Name", "Property Nope does not exist"},
        {"btnOK.Caption.Length", "Property Caption is not an object property"},
        {"lvFiles.Columns[x].Caption", "'x' is not a valid index of Columns"},
        {"lvFiles.Columns[9].Caption", "Columns has no item 9"},
        {"btnOK.Font[1].Name", "Font is not a collection"},
        {"btnOK..Caption", "Invalid property path 'btnOK..Caption'"},
        {"lvFiles.Columns[2", "Invalid property path 'lvFiles.Columns[2'"},
        {"btnOK.Caption", nullptr},
    };
    for (const auto& [path, message] : cases) {
        const QString raised =
            MessageOf<EPropertyError>([&] { ResolvePropertyPath(&form, QString::fromLatin1(path)); });
        EXPECT_EQ(raised, message ? QString::fromLatin1(message) : QStringLiteral("(no exception)")) << path;
    }
}

// --- Streaming rules ----------------------------------------------------------

TEST(Properties, StoredRulesFollowFlagsAndIsStoredFunctions)
{
    TTestButton button(nullptr, QStringLiteral("b"));
    const auto stored = [&](const char* name) {
        return IsStoredProp(&button, FindPublishedProperty(&button, QString::fromLatin1(name)));
    };
    EXPECT_TRUE(stored("Caption"));
    EXPECT_FALSE(stored("Scratch"));  // STORED false
    EXPECT_FALSE(stored("Handle"));   // read-only value
    EXPECT_TRUE(stored("Font"));      // read-only, but a sub-object
    button.parentFont = true;
    EXPECT_FALSE(stored("Font"));

    TStringList list;
    EXPECT_TRUE(IsStoredProp(&list, FindPublishedProperty(&list, QStringLiteral("Text"))));
    EXPECT_FALSE(IsStoredProp(&list, FindPublishedProperty(&list, QStringLiteral("CommaText"))));
    EXPECT_FALSE(IsStoredProp(&list, FindPublishedProperty(&list, QStringLiteral("Count"))));
}

TEST(Properties, DefaultsComeFromClassInfoAndCompareAsValues)
{
    TTestBitButton button(nullptr, QStringLiteral("b"));
    const auto isDefault = [&](const char* name) {
        return IsDefaultPropValue(&button, FindPublishedProperty(&button, QString::fromLatin1(name)));
    };
    EXPECT_EQ(PropertyDefaultText(&button, FindPublishedProperty(&button, "Width")), QStringLiteral("100"));
    EXPECT_FALSE(isDefault("Width"));  // 75 is the base class's default, not this class's
    button.width = 100;
    EXPECT_TRUE(isDefault("Width"));
    EXPECT_TRUE(isDefault("Ratio"));        // "1.0" against 1
    EXPECT_TRUE(isDefault("ModalResult"));  // "mrnone" against mrNone
    button.ratio = 1.5;
    EXPECT_FALSE(isDefault("Ratio"));
    EXPECT_FALSE(PropertyDefaultText(&button, FindPublishedProperty(&button, "Caption")).has_value());
    EXPECT_FALSE(isDefault("Caption"));

    TStringList list;
    const QStringList listDefaults = {"Delimiter", "QuoteChar", "StrictDelimiter", "NameValueSeparator",
                                      "LineBreak", "Sorted",    "Duplicates",      "CaseSensitive"};
    for (const QString& name : listDefaults)
        EXPECT_TRUE(IsDefaultPropValue(&list, FindPublishedProperty(&list, name))) << qPrintable(name);
    list.SetLineBreak(QStringLiteral("\n"));
    SetPropText(&list, QStringLiteral("Duplicates"), QStringLiteral("dupError"));
    EXPECT_FALSE(IsDefaultPropValue(&list, FindPublishedProperty(&list, "LineBreak")));
    EXPECT_FALSE(IsDefaultPropValue(&list, FindPublishedProperty(&list, "Duplicates")));
}

TEST(Properties, AssignCopiesStoredStateButNotTheName)
{
    TTestButton source(nullptr, QStringLiteral("source"));
    source.caption = QStringLiteral("OK");
    source.modalResult = TTestButton::mrOk;
    source.font->style = TTestFont::fsBold;
    source.scratch = QStringLiteral("temp");
    TTestButton dest(nullptr, QStringLiteral("dest"));
    TTestFont* destFont = dest.font;
    AssignPublishedProperties(&dest, &source);
    EXPECT_EQ(dest.Name(), QStringLiteral("dest"));
    EXPECT_EQ(dest.caption, QStringLiteral("OK"));
    EXPECT_EQ(dest.modalResult, TTestButton::mrOk);
    EXPECT_EQ(dest.font, destFont);
    EXPECT_EQ(dest.font->style, TTestFont::TFontStyles(TTestFont::fsBold));
    EXPECT_TRUE(dest.scratch.isEmpty());

    TTestFont font;
    EXPECT_THROW(AssignPublishedProperties(&dest, &font), EConvertError);
}

}  // namespace
}  // namespace tk

#include "properties_test.moc"

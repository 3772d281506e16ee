// A form made in Designer with the grid package's widgets (designedform.ui),
// compiled by uic into this test, so the build itself shows that uic's code
// for the widgets' published properties compiles: the Qt-named setters it
// calls and the enum and flag values it writes. The tests run that code and
// check every property through the widgets' getters, and check that the
// checked-in form is what the form builder writes for widgets set the same
// way, so the form stays true to what Designer writes.

#include "tests/support/qt_printers.h"
#include "ui_designedform.h"
#include "ui_unscopedform.h"

#include <QBuffer>
#include <QFile>
#include <QMap>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QXmlStreamReader>
#include <QtDesigner/QFormBuilder>
#include <gtest/gtest.h>

namespace {

const QString kFormFile = QStringLiteral(KS_SOURCE_DIR "/tests/designer/designedform.ui");
const QStringList kOurWidgets = {QStringLiteral("grid"), QStringLiteral("navigator"),
                                 QStringLiteral("columnsDialog")};

// The property elements of one widget: name -> "kind:text", where a
// compound value (a rect) gives its parts as "x=8;y=40;...".
using TPropertyElements = QMap<QString, QString>;

// At a value element (<bool>, <set>, <rect>, ...); leaves the reader at its
// end.
QString ReadValue(QXmlStreamReader& reader)
{
    const QString kind = reader.name().toString();
    QString text;
    QStringList parts;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isCharacters())
            text += reader.text();
        else if (reader.isStartElement())
            parts.append(reader.name().toString() + QLatin1Char('=') +
                         reader.readElementText(QXmlStreamReader::IncludeChildElements));
        else if (reader.isEndElement())
            break;
    }
    return kind + QLatin1Char(':') + (parts.isEmpty() ? text.trimmed() : parts.join(QLatin1Char(';')));
}

// At a <widget>: its properties and its children's, by object name.
void ReadWidget(QXmlStreamReader& reader, QMap<QString, TPropertyElements>& widgets)
{
    TPropertyElements& properties = widgets[reader.attributes().value(QLatin1String("name")).toString()];
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("property")) {
            const QString name = reader.attributes().value(QLatin1String("name")).toString();
            if (reader.readNextStartElement()) {
                properties.insert(name, ReadValue(reader));
                reader.skipCurrentElement();
            }
        } else if (reader.name() == QLatin1String("widget")) {
            ReadWidget(reader, widgets);
        } else {
            reader.skipCurrentElement();
        }
    }
}

QMap<QString, TPropertyElements> ReadPropertyElements(const QByteArray& ui)
{
    QMap<QString, TPropertyElements> widgets;
    QXmlStreamReader reader(ui);
    if (reader.readNextStartElement() && reader.name() == QLatin1String("ui")) {
        while (reader.readNextStartElement()) {
            if (reader.name() == QLatin1String("widget"))
                ReadWidget(reader, widgets);
            else
                reader.skipCurrentElement();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return widgets;
}

std::string Dump(const TPropertyElements& properties)
{
    QString text;
    for (auto it = properties.begin(); it != properties.end(); ++it)
        text += QStringLiteral("  %1 = %2\n").arg(it.key(), it.value());
    return text.toStdString();
}

// The form builder of this Qt writes no property whose value is an enum
// or a flags type ("not supported yet", Qt's own as well); Designer's form
// writer writes each key with the scope of its enum's class, as the meta
// enum names it ("kelgrid::TKelGridEnums::fsFlat"), and a set as such keys
// joined by '|'. The element a property of live has in that form.
QString DesignerText(const QObject* live, const QString& name)
{
    const QMetaObject* meta = live->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty(name.toLatin1().constData()));
    if (!property.isEnumType())
        return QStringLiteral("(no enum property %1)").arg(name);
    const QMetaEnum metaEnum = property.enumerator();
    const QString scope = QString::fromLatin1(metaEnum.scope()) + QStringLiteral("::");
    const int value = property.read(live).toInt();
    if (!metaEnum.isFlag())
        return QStringLiteral("enum:") + scope + QString::fromLatin1(metaEnum.valueToKey(value));
    QStringList keys = QString::fromLatin1(metaEnum.valueToKeys(value)).split(QLatin1Char('|'));
    for (QString& key : keys)
        key.prepend(scope);
    return QStringLiteral("set:") + keys.join(QLatin1Char('|'));
}

TEST(DesignedFormTest, UicCodeSetsEveryPropertyThroughOurSetters)
{
    QWidget host;
    Ui::DesignedForm form;
    form.setupUi(&host);

    kelgrid::TKelDBGrid* grid = form.grid;
    EXPECT_EQ(grid->geometry(), QRect(8, 40, 400, 240));
    EXPECT_EQ(grid->Hint(), QStringLiteral("The orders"));
    EXPECT_TRUE(grid->ShowHint());
    EXPECT_EQ(grid->Cursor(), tk::TControlEnums::crHandPoint);
    // Our Cursor, not QWidget's: the widget shows the matching Qt cursor.
    EXPECT_EQ(grid->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(grid->HelpContext(), 12);
    EXPECT_EQ(grid->Options(), kelgrid::TKelDBGridOptions(kelgrid::dgTitles | kelgrid::dgIndicator |
                                                          kelgrid::dgColLines | kelgrid::dgRowSelect |
                                                          kelgrid::dgMultiSelect));
    EXPECT_EQ(grid->OptionsEx(), kelgrid::TKelDBGridOptionsEx(kelgrid::dgBlankRow | kelgrid::dgTotalValues |
                                                              kelgrid::dgAutoUpdateTotals));
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->TitleLinesCount(), 2);
    EXPECT_TRUE(grid->ReadOnly());
    EXPECT_EQ(grid->FixedStyle(), kelgrid::fsFlat);
    EXPECT_EQ(grid->HotButtons(), kelgrid::hbTile);
    EXPECT_EQ(grid->FillerHint(), QStringLiteral("Pick the columns"));

    kelgrid::TKelDBNavigator* navigator = form.navigator;
    EXPECT_FALSE(navigator->Enabled());
    EXPECT_FALSE(navigator->isEnabled());
    EXPECT_EQ(navigator->BevelOuter(), tk::bvLowered);
    EXPECT_EQ(navigator->Caption(), QStringLiteral("Records"));
    EXPECT_FALSE(navigator->ConfirmDelete());
    EXPECT_TRUE(navigator->Flat());
    EXPECT_EQ(navigator->VisibleButtons(), 15u);
    EXPECT_EQ(navigator->Layout(), tk::blGlyphTop);
    EXPECT_EQ(navigator->Margin(), 2);
    EXPECT_TRUE(navigator->ShowCaptions());
    // The navigator passes its look on to the buttons.
    EXPECT_EQ(navigator->KelButton(tk::nbFirst)->Layout(), tk::blGlyphTop);
    EXPECT_TRUE(navigator->KelButton(tk::nbFirst)->Flat());

    kelgrid::TKelDBColumnsDialogHolder* holder = form.columnsDialog;
    EXPECT_EQ(holder->BorderStyle(), tk::bsNone);
    // The dialog's minimum column width, not the holder widget's own.
    EXPECT_EQ(holder->MinimumWidth(), 40);
    EXPECT_EQ(holder->Dialog()->MinimumWidth(), 40);
    EXPECT_EQ(holder->minimumWidth(), 0);
    EXPECT_EQ(holder->Options(), kelgrid::TKelDBColumnsOptions(kelgrid::coAllowMoving | kelgrid::coShowEmptyCols));
    EXPECT_EQ(holder->Title(), QStringLiteral("Visible columns"));
}

// uic writes an enum value given without its scope as <widget class>::value
// (a set it writes as it stands, so only scoped sets compile); the widgets
// have the values of their published enums in their own scope.
TEST(DesignedFormTest, UnscopedEnumValuesCompileAndApply)
{
    QWidget host;
    Ui::UnscopedForm form;
    form.setupUi(&host);
    EXPECT_EQ(form.grid->Cursor(), tk::TControlEnums::crHourGlass);
    EXPECT_EQ(form.grid->FixedStyle(), kelgrid::fsGray);
    EXPECT_EQ(form.navigator->FineTheme(), kelgrid::ftUnderline);
    EXPECT_EQ(form.navigator->Alignment(), tk::taRightJustify);
    EXPECT_EQ(form.columnsDialog->BorderStyle(), tk::bsNone);
}

TEST(DesignedFormTest, QWidgetSettersStayCallableThroughOurTypes)
{
    QWidget host;
    Ui::DesignedForm form;
    form.setupUi(&host);
    form.grid->setCursor(QCursor(Qt::IBeamCursor));
    EXPECT_EQ(form.grid->cursor().shape(), Qt::IBeamCursor);
    form.grid->setCursor(tk::TControlEnums::crDefault);
    EXPECT_EQ(form.grid->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.grid->Cursor(), tk::TControlEnums::crDefault);
    // setEnabled through our type runs SetEnabled: the widget and the
    // property agree.
    form.navigator->setEnabled(true);
    EXPECT_TRUE(form.navigator->Enabled());
    EXPECT_TRUE(form.navigator->isEnabled());
}

TEST(DesignedFormTest, CheckedInFormIsWhatTheFormBuilderWrites)
{
    // Widgets set the same way as on the designed form, in code.
    QWidget host;
    host.setObjectName(QStringLiteral("DesignedForm"));
    host.setGeometry(0, 0, 480, 320);
    auto* grid = new kelgrid::TKelDBGrid(&host);
    grid->setObjectName(QStringLiteral("grid"));
    grid->setGeometry(8, 40, 400, 240);
    grid->SetHint(QStringLiteral("The orders"));
    grid->SetShowHint(true);
    grid->SetCursor(tk::TControlEnums::crHandPoint);
    grid->SetHelpContext(12);
    grid->SetOptions(kelgrid::dgTitles | kelgrid::dgIndicator | kelgrid::dgColLines | kelgrid::dgRowSelect |
                     kelgrid::dgMultiSelect);
    grid->SetOptionsEx(kelgrid::dgBlankRow | kelgrid::dgTotalValues | kelgrid::dgAutoUpdateTotals);
    grid->SetFixedCols(1);
    grid->SetTitleLinesCount(2);
    grid->SetReadOnly(true);
    grid->SetFixedStyle(kelgrid::fsFlat);
    grid->SetHotButtons(kelgrid::hbTile);
    grid->SetFillerHint(QStringLiteral("Pick the columns"));

    auto* navigator = new kelgrid::TKelDBNavigator(&host);
    navigator->setObjectName(QStringLiteral("navigator"));
    navigator->setGeometry(8, 8, 300, 25);
    navigator->SetEnabled(false);
    navigator->SetBevelOuter(tk::bvLowered);
    navigator->SetCaption(QStringLiteral("Records"));
    navigator->SetConfirmDelete(false);
    navigator->SetFlat(true);
    navigator->SetVisibleButtons(15u);
    navigator->SetLayout(tk::blGlyphTop);
    navigator->SetMargin(2);
    navigator->SetShowCaptions(true);

    auto* holder = new kelgrid::TKelDBColumnsDialogHolder(&host);
    holder->setObjectName(QStringLiteral("columnsDialog"));
    holder->setGeometry(420, 8, 28, 28);
    holder->SetBorderStyle(tk::bsNone);
    holder->SetMinimumWidth(40);
    holder->SetOptions(kelgrid::coAllowMoving | kelgrid::coShowEmptyCols);
    holder->SetTitle(QStringLiteral("Visible columns"));

    QBuffer written;
    ASSERT_TRUE(written.open(QIODevice::WriteOnly));
    QFormBuilder builder;
    builder.save(&written, &host);
    const QMap<QString, TPropertyElements> fromBuilder = ReadPropertyElements(written.data());

    QFile file(kFormFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << kFormFile.toStdString();
    const QMap<QString, TPropertyElements> checkedIn = ReadPropertyElements(file.readAll());

    for (const QString& widget : kOurWidgets) {
        SCOPED_TRACE(widget.toStdString());
        ASSERT_TRUE(checkedIn.contains(widget));
        ASSERT_TRUE(fromBuilder.contains(widget));
        const TPropertyElements& expected = checkedIn[widget];
        const TPropertyElements& actual = fromBuilder[widget];
        EXPECT_GE(expected.size(), 5);
        const QObject* live = host.findChild<QObject*>(widget);
        ASSERT_NE(live, nullptr);
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            const bool enumOrSet = it.value().startsWith(QLatin1String("enum:")) ||
                                   it.value().startsWith(QLatin1String("set:"));
            if (enumOrSet && !actual.contains(it.key()))
                EXPECT_EQ(DesignerText(live, it.key()), it.value()) << it.key().toStdString();
            else
                EXPECT_EQ(actual.value(it.key()), it.value())
                    << it.key().toStdString() << "; the form builder wrote:\n"
                    << Dump(actual);
        }
    }
}

}  // namespace

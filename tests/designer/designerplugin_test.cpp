// The Qt Designer plugin as Designer uses it: loaded from its file with
// QPluginLoader, asked for its widget classes, their widget-box texts and
// new-widget XML, made to create each widget on a form, and the widgets'
// published properties read and written through the meta-object, the only
// way Designer's property editor and forms loaded at run time reach them.
// These tests reach the grid package only through the plugin (the
// executable links it for the designed forms, designedform_test.cpp; it is
// the library the plugin loads).

#include "tests/support/qt_printers.h"
#include "toolkit/core/properties.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QDesignerCustomWidgetInterface>
#include <QFileInfo>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QWidget>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QStringList kClassNames = {QStringLiteral("kelgrid::TKelDBGrid"), QStringLiteral("kelgrid::TKelDBNavigator"),
                                 QStringLiteral("kelgrid::TKelDBColumnsDialogHolder")};

// The new widget of a domXml: its class, object name and geometry size.
struct TDomWidget {
    QString className;
    QString objectName;
    QSize size;
    bool hasWidget = false;
    QString error;
};

TDomWidget ReadDomXml(const QString& xml)
{
    TDomWidget found;
    QXmlStreamReader reader(xml);
    QString element;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("widget") && !found.hasWidget) {
            found.hasWidget = true;
            found.className = reader.attributes().value(QLatin1String("class")).toString();
            found.objectName = reader.attributes().value(QLatin1String("name")).toString();
        } else if (reader.name() == QLatin1String("width")) {
            found.size.setWidth(reader.readElementText().toInt());
        } else if (reader.name() == QLatin1String("height")) {
            found.size.setHeight(reader.readElementText().toInt());
        }
    }
    if (reader.hasError())
        found.error = reader.errorString();
    return found;
}

class DesignerPluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Never unloaded: the widgets' classes live in the libraries it
        // brought in, as in Designer.
        QPluginLoader loader(QStringLiteral(KELGRID_DESIGNER_PLUGIN));
        QObject* root = loader.instance();
        ASSERT_NE(root, nullptr) << loader.errorString().toStdString();
        collection_ = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(root);
        ASSERT_NE(collection_, nullptr) << "the plugin's root is no widget collection";
    }

    QDesignerCustomWidgetInterface* Entry(const QString& className) const
    {
        for (QDesignerCustomWidgetInterface* entry : collection_->customWidgets())
            if (entry->name() == className)
                return entry;
        return nullptr;
    }

    // A widget made by the plugin on a form, as Designer drops one.
    QWidget* Create(const QString& className)
    {
        QDesignerCustomWidgetInterface* entry = Entry(className);
        if (entry == nullptr) {
            ADD_FAILURE() << "no entry for " << className.toStdString();
            return nullptr;
        }
        return entry->createWidget(&form_);
    }

    QDesignerCustomWidgetCollectionInterface* collection_ = nullptr;
    QWidget form_;
};

TEST_F(DesignerPluginTest, OffersTheThreeWidgetsInTheKelgridGroup)
{
    QStringList names;
    for (QDesignerCustomWidgetInterface* entry : collection_->customWidgets()) {
        names.append(entry->name());
        SCOPED_TRACE(entry->name().toStdString());
        EXPECT_EQ(entry->group(), QStringLiteral("kelgrid"));
        EXPECT_FALSE(entry->isContainer());
        EXPECT_FALSE(entry->icon().isNull());
        EXPECT_FALSE(entry->toolTip().isEmpty());
        EXPECT_FALSE(entry->whatsThis().isEmpty());
        EXPECT_FALSE(entry->isInitialized());
        entry->initialize(nullptr);
        EXPECT_TRUE(entry->isInitialized());
    }
    EXPECT_EQ(names, kClassNames);
}

TEST_F(DesignerPluginTest, IncludeFilesAreTheInstalledUnitHeaders)
{
    EXPECT_EQ(Entry(kClassNames[0])->includeFile(), QStringLiteral("kelgrid/grid/keldbgrids.h"));
    EXPECT_EQ(Entry(kClassNames[1])->includeFile(), QStringLiteral("kelgrid/controls/keldbctrls.h"));
    EXPECT_EQ(Entry(kClassNames[2])->includeFile(), QStringLiteral("kelgrid/controls/keldblists.h"));
    // Installed headers keep their paths from the root of the checkout.
    for (QDesignerCustomWidgetInterface* entry : collection_->customWidgets())
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(KS_SOURCE_DIR "/") + entry->includeFile()))
            << entry->includeFile().toStdString();
}

TEST_F(DesignerPluginTest, DomXmlNamesTheClassAndGivesASize)
{
    for (QDesignerCustomWidgetInterface* entry : collection_->customWidgets()) {
        SCOPED_TRACE(entry->name().toStdString());
        const TDomWidget widget = ReadDomXml(entry->domXml());
        EXPECT_EQ(widget.error, QString());
        ASSERT_TRUE(widget.hasWidget);
        EXPECT_EQ(widget.className, entry->name());
        EXPECT_FALSE(widget.objectName.isEmpty());
        EXPECT_GE(widget.size.width(), 20);
        EXPECT_GE(widget.size.height(), 20);
    }
    EXPECT_EQ(ReadDomXml(Entry(kClassNames[0])->domXml()).size, QSize(320, 200));
}

TEST_F(DesignerPluginTest, CreatesEachWidgetOnTheForm)
{
    for (const QString& className : kClassNames) {
        SCOPED_TRACE(className.toStdString());
        QWidget* widget = Create(className);
        ASSERT_NE(widget, nullptr);
        // Designer matches the created widget to its entry by class name.
        EXPECT_EQ(QString::fromLatin1(widget->metaObject()->className()), className);
        EXPECT_EQ(widget->parentWidget(), &form_);
        // The holder of the dialog too shows on Designer's form.
        EXPECT_TRUE(widget->isVisibleTo(&form_));
    }
    form_.resize(400, 300);
    form_.show();
    EXPECT_TRUE(form_.isVisible());
}

TEST_F(DesignerPluginTest, GridPublishesItsOptionsAsFlagsDesignerCanEdit)
{
    QWidget* grid = Create(kClassNames[0]);
    ASSERT_NE(grid, nullptr);
    const QMetaObject* meta = grid->metaObject();
    const QMetaProperty options = meta->property(meta->indexOfProperty("Options"));
    ASSERT_TRUE(options.isValid());
    EXPECT_TRUE(options.isDesignable());
    EXPECT_TRUE(options.isWritable());
    ASSERT_TRUE(options.isFlagType());
    EXPECT_GE(options.enumerator().keyToValue("dgEditing"), 0);

    // Designer writes a set as the integer of its keys.
    const int titlesAndIndicator = options.enumerator().keysToValue("dgTitles|dgIndicator");
    ASSERT_GT(titlesAndIndicator, 0);
    EXPECT_TRUE(grid->setProperty("Options", titlesAndIndicator));
    EXPECT_EQ(tk::GetPropText(grid, QStringLiteral("Options")), QStringLiteral("[dgTitles,dgIndicator]"));

    EXPECT_TRUE(grid->setProperty("ReadOnly", true));
    EXPECT_EQ(grid->property("ReadOnly"), QVariant(true));
    EXPECT_TRUE(grid->setProperty("FixedCols", 0));
    EXPECT_EQ(grid->property("IndicatorWidth"), QVariant(20));
    EXPECT_TRUE(meta->property(meta->indexOfProperty("OptionsEx")).isFlagType());
    EXPECT_TRUE(meta->property(meta->indexOfProperty("MarkerStyle")).isEnumType());
}

TEST_F(DesignerPluginTest, GridAndNavigatorPublishTheirDataSource)
{
    for (const QString& className : {kClassNames[0], kClassNames[1]}) {
        SCOPED_TRACE(className.toStdString());
        QWidget* widget = Create(className);
        ASSERT_NE(widget, nullptr);
        const QMetaProperty source =
            widget->metaObject()->property(widget->metaObject()->indexOfProperty("DataSource"));
        ASSERT_TRUE(source.isValid());
        EXPECT_EQ(QString::fromLatin1(source.typeName()), QStringLiteral("tk::TDataSource*"));
        EXPECT_TRUE(tk::IsObjectProperty(source));
        EXPECT_EQ(tk::GetObjectProp(widget, QStringLiteral("DataSource")), nullptr);
    }
}

TEST_F(DesignerPluginTest, NavigatorPublishesItsButtonsAndCaptions)
{
    QWidget* navigator = Create(kClassNames[1]);
    ASSERT_NE(navigator, nullptr);
    // All ten buttons at first: first ... refresh.
    EXPECT_EQ(navigator->property("VisibleButtons").toUInt(), 0x3ffu);
    EXPECT_TRUE(navigator->setProperty("VisibleButtons", 0x0fu));
    EXPECT_EQ(navigator->property("VisibleButtons").toUInt(), 0x0fu);

    EXPECT_EQ(navigator->property("ShowCaptions"), QVariant(false));
    EXPECT_TRUE(navigator->setProperty("ShowCaptions", true));
    EXPECT_EQ(navigator->property("ShowCaptions"), QVariant(true));
    EXPECT_TRUE(navigator->setProperty("Flat", true));
    EXPECT_EQ(navigator->property("Flat"), QVariant(true));
}

TEST_F(DesignerPluginTest, DialogHolderPassesItsPropertiesToTheDialog)
{
    QWidget* holder = Create(kClassNames[2]);
    ASSERT_NE(holder, nullptr);
    QObject* dialog = nullptr;
    for (QObject* child : holder->children())
        if (QString::fromLatin1(child->metaObject()->className()) == QStringLiteral("kelgrid::TKelDBColumnsDialog"))
            dialog = child;
    ASSERT_NE(dialog, nullptr) << "the holder owns no columns dialog";

    EXPECT_TRUE(holder->setProperty("Title", QStringLiteral("Visible columns")));
    EXPECT_EQ(dialog->property("Title"), QVariant(QStringLiteral("Visible columns")));
    // The dialog's own rules apply: at least four columns.
    EXPECT_TRUE(holder->setProperty("MinimumCount", 2));
    EXPECT_EQ(holder->property("MinimumCount"), QVariant(4));
    EXPECT_EQ(dialog->property("MinimumCount"), QVariant(4));

    const QMetaProperty options = holder->metaObject()->property(holder->metaObject()->indexOfProperty("Options"));
    ASSERT_TRUE(options.isFlagType());
    EXPECT_TRUE(holder->setProperty("Options", options.enumerator().keysToValue("coAllowMoving")));
    // Moving columns brings the empty ones with it.
    EXPECT_EQ(tk::GetPropText(dialog, QStringLiteral("Options")), QStringLiteral("[coAllowMoving,coShowEmptyCols]"));
    EXPECT_EQ(tk::GetPropText(holder, QStringLiteral("Options")), QStringLiteral("[coAllowMoving,coShowEmptyCols]"));
}

TEST_F(DesignerPluginTest, DialogHolderStaysHiddenOnARunningForm)
{
    // A form made by uic or in code constructs the holder itself, not
    // through the plugin: showing that form leaves the holder hidden.
    QWidget* designed = Create(kClassNames[2]);
    ASSERT_NE(designed, nullptr);
    QWidget runningForm;
    QObject* made = designed->metaObject()->newInstance(Q_ARG(QWidget*, &runningForm));
    ASSERT_NE(made, nullptr);
    auto* holder = qobject_cast<QWidget*>(made);
    ASSERT_NE(holder, nullptr);
    runningForm.show();
    EXPECT_TRUE(runningForm.isVisible());
    EXPECT_FALSE(holder->isVisible());
}

}  // namespace

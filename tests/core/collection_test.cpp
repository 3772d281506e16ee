#include "toolkit/core/collection.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace tk {
namespace {

class TGridColumn : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Width MEMBER width)
    Q_PROPERTY(tk::TStrings* PickList READ PickList)
    Q_PROPERTY(int Scratch MEMBER scratch STORED false)
public:
    Q_INVOKABLE explicit TGridColumn(tk::TCollection* collection)
        : TCollectionItem(collection), pickList(new TStringList(this))
    {
    }
    QString Caption() const { return caption; }
    void SetCaption(const QString& value)
    {
        caption = value;
        Changed(false);
    }
    TStrings* PickList() const { return pickList; }
    QString DisplayName() const override { return caption; }

    QString caption = QStringLiteral("new");
    int width = 64;
    int scratch = 0;
    TStringList* pickList;
};

// No invokable constructor: a collection cannot create it.
class TPlainItem : public TCollectionItem {
    Q_OBJECT
public:
    using TCollectionItem::TCollectionItem;
};

// Records what a control would see: Update and Notify calls.
class TGridColumns : public TCollection {
public:
    explicit TGridColumns(QObject* owner = nullptr) : TCollection(&TGridColumn::staticMetaObject, owner) {}
    TGridColumn* Column(int index) const { return static_cast<TGridColumn*>(Items(index)); }
    TGridColumn* AddColumn(const QString& caption)
    {
        auto* column = static_cast<TGridColumn*>(Add());
        column->SetCaption(caption);
        return column;
    }
    QStringList log;

protected:
    void Update(TCollectionItem* item) override
    {
        log << (item ? QStringLiteral("update %1").arg(item->DisplayName()) : QStringLiteral("update all"));
    }
    void Notify(TCollectionItem* item, TCollectionNotification action) override
    {
        static const char* const names[] = {"added", "extracting", "deleting"};
        // qobject_cast proves the item is whole when it is announced.
        auto* column = qobject_cast<TGridColumn*>(item);
        log << QStringLiteral("%1 %2").arg(QLatin1String(names[action]),
                                           column ? column->caption : QStringLiteral("(partial)"));
    }
};

// Hands out items it made itself, as a collection that recycles them would.
class TPresetColumns : public TCollection {
public:
    TPresetColumns() : TCollection(&TGridColumn::staticMetaObject) {}

protected:
    TCollectionItem* CreateItem() override
    {
        auto* column = new TGridColumn(nullptr);
        column->caption = QStringLiteral("preset");
        return column;
    }
};

QList<int> IDs(const TCollection& collection)
{
    QList<int> ids;
    for (int i = 0; i < collection.Count(); ++i)
        ids << collection.Items(i)->ID();
    return ids;
}

TEST(Collection, IDsAreNeverReused)
{
    TGridColumns columns;
    for (int i = 0; i < 3; ++i)
        columns.Add();
    columns.Delete(1);
    columns.Add();
    EXPECT_EQ(IDs(columns), (QList<int>{0, 2, 3}));
    columns.Clear();
    columns.Add();
    EXPECT_EQ(IDs(columns), (QList<int>{4}));
    EXPECT_EQ(columns.NextID(), 5);
    EXPECT_EQ(columns.FindItemID(4), columns.Items(0));
    EXPECT_EQ(columns.FindItemID(1), nullptr);
}

TEST(Collection, BadIndexRaisesListError)
{
    TGridColumns columns;
    columns.Add();
    try {
        columns.Items(1);
        FAIL() << "Items(1) should raise";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (1)"));
    }
    EXPECT_THROW(columns.Delete(-1), EListError);
    EXPECT_THROW(columns.Insert(2), EListError);
    EXPECT_THROW(columns.Items(0)->SetIndex(1), EListError);
    EXPECT_EQ(columns.Count(), 1);
}

TEST(Collection, NotifiesWholeItemsAndReportsChanges)
{
    TGridColumns columns;
    TGridColumn* a = columns.AddColumn(QStringLiteral("a"));
    columns.AddColumn(QStringLiteral("b"));
    columns.Delete(0);
    EXPECT_EQ(columns.log, QStringList({"added new", "update all", "update a", "added new", "update all",
                                        "update b", "deleting a", "update all"}));
    Q_UNUSED(a);

    columns.log.clear();
    TGridColumns other;
    TGridColumn* b = columns.Column(0);
    b->SetCollection(&other);
    EXPECT_EQ(columns.log, QStringList({"extracting b", "update all"}));
    EXPECT_EQ(other.log, QStringList({"added b", "update all"}));
    EXPECT_EQ(b->Collection(), &other);
    EXPECT_EQ(b->parent(), &other);
    EXPECT_EQ(b->ID(), 0);  // a new ID from the new collection
    EXPECT_EQ(columns.Count(), 0);

    other.log.clear();
    delete b;
    EXPECT_EQ(other.Count(), 0);
    EXPECT_EQ(other.log, QStringList({"update all"}));
}

TEST(Collection, BatchReportsOneFullUpdateAtTheOutermostEnd)
{
    TGridColumns columns;
    TGridColumn* first = columns.AddColumn(QStringLiteral("first"));
    columns.log.clear();

    columns.BeginUpdate();
    first->SetCaption(QStringLiteral("renamed"));
    columns.BeginUpdate();
    columns.Insert(0);
    columns.Changed();
    columns.EndUpdate();
    EXPECT_EQ(columns.log, QStringList({"added new"}));
    columns.EndUpdate();
    EXPECT_EQ(columns.log, QStringList({"added new", "update all"}));
    EXPECT_EQ(columns.Column(0)->caption, QStringLiteral("new"));
    EXPECT_EQ(first->Index(), 1);

    // An owner brackets to force a full refresh: even an empty batch ends
    // with one.
    columns.log.clear();
    columns.BeginUpdate();
    columns.EndUpdate();
    columns.EndUpdate();  // unmatched: nothing
    EXPECT_EQ(columns.log, QStringList({"update all"}));
}

// Moves keep a group together: a column with a trailing "detail" column
// takes it along, as nested columns do.
class TGroupedColumn : public TGridColumn {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TGroupedColumn(tk::TCollection* collection) : TGridColumn(collection) {}
    void SetIndex(int index) override
    {
        moves << index;
        TGridColumn::SetIndex(index);
    }
    QList<int> moves;
};

TEST(Collection, SetIndexIsTheOneWayItemsMove)
{
    TCollection columns(&TGroupedColumn::staticMetaObject);
    columns.Add();
    auto* inserted = static_cast<TGroupedColumn*>(columns.Insert(0));
    EXPECT_EQ(inserted->moves, QList<int>({0}));  // Insert positions through the override
    EXPECT_EQ(inserted->Index(), 0);

    TCollectionItem* base = columns.Items(1);
    base->SetIndex(0);  // through the base pointer
    EXPECT_EQ(static_cast<TGroupedColumn*>(base)->moves, QList<int>({0}));
}

TEST(Collection, WritingAnItemAssignsIntoTheExistingOne)
{
    TGridColumns columns;
    TGridColumn* kept = columns.AddColumn(QStringLiteral("old"));
    columns.AddColumn(QStringLiteral("other"));
    TGridColumns source;
    TGridColumn* model = source.AddColumn(QStringLiteral("Name"));
    model->width = 120;
    columns.log.clear();

    columns.SetItems(0, model);
    EXPECT_EQ(columns.Items(0), kept);  // same object, ID and place
    EXPECT_EQ(kept->ID(), 0);
    EXPECT_EQ(kept->caption, QStringLiteral("Name"));
    EXPECT_EQ(kept->width, 120);
    EXPECT_EQ(columns.log, QStringList({"update Name"}));
    EXPECT_EQ(source.Count(), 1);

    EXPECT_THROW(columns.SetItems(2, model), EListError);
}

TEST(Collection, SetIndexMovesTheItemAndReportsAFullUpdate)
{
    TGridColumns columns;
    for (const char* caption : {"a", "b", "c"})
        columns.AddColumn(QString::fromLatin1(caption));
    columns.log.clear();
    columns.Column(0)->SetIndex(2);
    EXPECT_EQ(columns.log, QStringList({"update all"}));
    EXPECT_EQ(columns.Column(0)->caption + columns.Column(1)->caption + columns.Column(2)->caption,
              QStringLiteral("bca"));
    EXPECT_EQ(columns.Column(2)->Index(), 2);
    EXPECT_EQ(columns.Column(2)->ID(), 0);
}

TEST(Collection, AssignCopiesItemsWithTheirPublishedState)
{
    TGridColumns source;
    TGridColumn* wide = source.AddColumn(QStringLiteral("Name"));
    wide->width = 200;
    wide->scratch = 7;
    wide->pickList->SetCommaText(QStringLiteral("x,y"));
    source.AddColumn(QStringLiteral("Size"));

    TGridColumns target;
    target.AddColumn(QStringLiteral("old"));
    target.log.clear();
    target.Assign(&source);

    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Column(0)->caption, QStringLiteral("Name"));
    EXPECT_EQ(target.Column(0)->width, 200);
    EXPECT_EQ(target.Column(0)->scratch, 0);  // not stored, not copied
    EXPECT_EQ(target.Column(0)->pickList->CommaText(), QStringLiteral("x,y"));
    EXPECT_NE(target.Column(0)->pickList, wide->pickList);
    EXPECT_EQ(target.Column(1)->caption, QStringLiteral("Size"));
    EXPECT_EQ(IDs(target), (QList<int>{1, 2}));
    EXPECT_EQ(target.log.count(QStringLiteral("update all")), 1);
    EXPECT_EQ(target.log.last(), QStringLiteral("update all"));

    TStringList notACollection;
    EXPECT_THROW(target.Assign(&notACollection), EConvertError);
}

TEST(Collection, OwnsItemsAndNeedsAConstructibleItemClass)
{
    QPointer<TCollectionItem> item;
    {
        QObject owner;
        auto* columns = new TGridColumns(&owner);
        item = columns->Add();
        EXPECT_EQ(columns->Owner(), &owner);
        EXPECT_EQ(item->DisplayName(), QStringLiteral("new"));
        EXPECT_EQ(TCollectionItem(nullptr).DisplayName(), QStringLiteral("TCollectionItem"));
    }
    EXPECT_TRUE(item.isNull());

    TPresetColumns preset;
    preset.Add();
    TCollectionItem* substitute = preset.Add();
    EXPECT_EQ(substitute->Collection(), &preset);
    EXPECT_EQ(substitute->parent(), &preset);
    EXPECT_EQ(substitute->ID(), 1);
    EXPECT_EQ(preset.Items(1), substitute);
    EXPECT_EQ(substitute->DisplayName(), QStringLiteral("preset"));

    TCollection plain(&TPlainItem::staticMetaObject);
    EXPECT_THROW(plain.Add(), EInvalidOperation);
    EXPECT_EQ(plain.Count(), 0);
    EXPECT_THROW(TCollection{&TStringList::staticMetaObject}, EInvalidOperation);
}

}  // namespace
}  // namespace tk

#include "collection_test.moc"

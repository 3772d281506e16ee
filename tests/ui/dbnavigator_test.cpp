#include "toolkit/ui/dbnavigator.h"

#include "tests/support/field_def.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/application.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/data/memorysource.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tk {
namespace {

// A client dataset that can be made read-only as a whole.
class TestDataSet : public TClientDataSet {
public:
    void MakeReadOnly() { Rows()->SetReadOnly(true); }
};

class DBNavigatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dataSet.FieldDefs() = {test::Def(QStringLiteral("Id"), ftInteger)};
        dataSet.CreateDataSet();
        for (int id = 1; id <= 5; ++id)
            AppendId(id);
        dataSet.First();
        source.SetDataSet(&dataSet);
        navigator = std::make_unique<TDBNavigator>();
        navigator->resize(250, 25);
        navigator->SetDataSource(&source);
        navigator->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(navigator.get()));
    }

    void AppendId(int id)
    {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
        dataSet.Post();
    }
    int CurrentId() { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }
    // The enabled buttons as a string of ten 0/1 (first .. refresh).
    QString Enabling() const
    {
        QString bits;
        for (int i = 0; i < NavigatorButtonCount; ++i)
            bits += navigator->Button(static_cast<TNavigateBtn>(i))->Enabled() ? u'1' : u'0';
        return bits;
    }
    void ClickButton(TNavigateBtn button)
    {
        TNavButton* b = navigator->Button(button);
        test::WidgetDriver(b).Click(b->rect().center());
    }

    TestDataSet dataSet;
    TDataSource source;
    std::unique_ptr<TDBNavigator> navigator;
};

TEST_F(DBNavigatorTest, ButtonsFollowTheDataSetState)
{
    //                      F P N L I D E P C R
    EXPECT_EQ(Enabling(), QStringLiteral("0011111001"));  // browsing at the first record
    dataSet.Next();
    EXPECT_EQ(Enabling(), QStringLiteral("1111111001"));  // in the middle
    dataSet.Last();
    EXPECT_EQ(Enabling(), QStringLiteral("1100111001"));  // at the end
    dataSet.Edit();
    EXPECT_EQ(Enabling(), QStringLiteral("1100110111"));  // editing
    dataSet.Cancel();
    dataSet.Insert();
    EXPECT_TRUE(navigator->Button(nbPost)->Enabled());
    EXPECT_TRUE(navigator->Button(nbCancel)->Enabled());
    EXPECT_FALSE(navigator->Button(nbEdit)->Enabled());
    dataSet.Cancel();

    source.SetDataSet(nullptr);
    EXPECT_EQ(Enabling(), QStringLiteral("0000000000"));  // no dataset
    source.SetDataSet(&dataSet);
    dataSet.First();
    EXPECT_EQ(Enabling(), QStringLiteral("0011111001"));
    dataSet.Close();
    EXPECT_EQ(Enabling(), QStringLiteral("0000000000"));  // inactive
}

TEST_F(DBNavigatorTest, EmptyAndReadOnlyDataSets)
{
    while (!dataSet.IsEmpty())
        dataSet.Delete();
    // Bof and Eof at once: nowhere to move, nothing to delete.
    EXPECT_EQ(Enabling(), QStringLiteral("0000101001"));
    AppendId(7);
    AppendId(8);
    dataSet.First();
    dataSet.MakeReadOnly();
    dataSet.Last();
    EXPECT_EQ(Enabling(), QStringLiteral("1100000000"));
}

TEST_F(DBNavigatorTest, EachButtonRunsItsActionAndBeforeActionCanRefuse)
{
    QList<TNavigateBtn> before;
    QList<TNavigateBtn> after;
    bool refuse = false;
    navigator->BeforeAction = [&](QObject* sender, TNavigateBtn button) {
        EXPECT_EQ(sender, navigator.get());
        before << button;
        if (refuse)
            throw Exception(QStringLiteral("refused"));
    };
    navigator->OnClick = [&](QObject*, TNavigateBtn button) { after << button; };

    ClickButton(nbLast);
    EXPECT_EQ(CurrentId(), 5);
    ClickButton(nbPrior);
    EXPECT_EQ(CurrentId(), 4);
    ClickButton(nbFirst);
    EXPECT_EQ(CurrentId(), 1);
    ClickButton(nbNext);
    EXPECT_EQ(CurrentId(), 2);
    ClickButton(nbEdit);
    EXPECT_EQ(dataSet.State(), dsEdit);
    dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(20);
    ClickButton(nbPost);
    EXPECT_EQ(dataSet.State(), dsBrowse);
    EXPECT_EQ(CurrentId(), 20);
    ClickButton(nbInsert);
    EXPECT_EQ(dataSet.State(), dsInsert);
    ClickButton(nbCancel);
    EXPECT_EQ(dataSet.State(), dsBrowse);
    EXPECT_EQ(dataSet.RecordCount(), 5);
    ClickButton(nbRefresh);
    EXPECT_EQ(CurrentId(), 20);
    const QList<TNavigateBtn> all = {nbLast, nbPrior, nbFirst, nbNext, nbEdit, nbPost, nbInsert, nbCancel, nbRefresh};
    EXPECT_EQ(before, all);
    EXPECT_EQ(after, all);

    // A refusing handler stops the action; the error goes to the application.
    QStringList shown;
    auto saved = Application().OnException;
    Application().OnException = [&](const QString& message) { shown << message; };
    refuse = true;
    ClickButton(nbNext);
    ClickButton(nbEdit);
    Application().OnException = saved;
    EXPECT_EQ(CurrentId(), 20);
    EXPECT_EQ(dataSet.State(), dsBrowse);
    EXPECT_EQ(after, all);
    EXPECT_EQ(before.size(), all.size() + 2);
    EXPECT_EQ(shown, QStringList({QStringLiteral("refused"), QStringLiteral("refused")}));

    // From code the error reaches the caller.
    EXPECT_THROW(navigator->BtnClick(nbNext), Exception);
    EXPECT_EQ(CurrentId(), 20);
}

TEST_F(DBNavigatorTest, DeleteAsksAndNoKeepsTheRecord)
{
    dataSet.Next();
    test::ModalAnswerer answerer;
    answerer.Answer = QMessageBox::No;
    ClickButton(nbDelete);
    ASSERT_EQ(answerer.Boxes().size(), 1);
    EXPECT_EQ(answerer.Boxes()[0].text, LoadResString(&SDeleteRecordQuestion));
    EXPECT_EQ(answerer.Boxes()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(dataSet.RecordCount(), 5);
    EXPECT_EQ(CurrentId(), 2);

    answerer.Answer = QMessageBox::Yes;
    ClickButton(nbDelete);
    EXPECT_EQ(answerer.Boxes().size(), 2);
    EXPECT_EQ(dataSet.RecordCount(), 4);
    EXPECT_EQ(CurrentId(), 3);

    navigator->SetConfirmDelete(false);
    ClickButton(nbDelete);
    EXPECT_EQ(answerer.Boxes().size(), 2);
    EXPECT_EQ(dataSet.RecordCount(), 3);
}

TEST_F(DBNavigatorTest, VisibleButtonsShareTheWidthWithTheRestFromTheLeft)
{
    navigator->resize(253, 25);
    for (int i = 0; i < NavigatorButtonCount; ++i) {
        const QRect r = navigator->Button(static_cast<TNavigateBtn>(i))->geometry();
        EXPECT_EQ(r.width(), i < 3 ? 26 : 25) << i;
        EXPECT_EQ(r.left(), i * 25 + std::min(i, 3)) << i;
        EXPECT_EQ(r.height(), 25);
    }
    navigator->SetVisibleButtons(NavButtonBit(nbFirst) | NavButtonBit(nbNext) | NavButtonBit(nbPost));
    navigator->resize(100, 20);
    EXPECT_FALSE(navigator->Button(nbPrior)->isVisible());
    EXPECT_EQ(navigator->Button(nbFirst)->geometry(), QRect(0, 0, 34, 20));
    EXPECT_EQ(navigator->Button(nbNext)->geometry(), QRect(34, 0, 33, 20));
    EXPECT_EQ(navigator->Button(nbPost)->geometry(), QRect(67, 0, 33, 20));
}

TEST_F(DBNavigatorTest, HintsTakeTheDefaultsForEmptyOrMissingLines)
{
    EXPECT_EQ(navigator->Button(nbFirst)->Hint(), QStringLiteral("First record"));
    EXPECT_EQ(navigator->Button(nbRefresh)->Hint(), QStringLiteral("Refresh data"));
    navigator->Hints()->SetText(QStringLiteral("Go to start\n\nOnwards"));
    EXPECT_EQ(navigator->Button(nbFirst)->Hint(), QStringLiteral("Go to start"));
    EXPECT_EQ(navigator->Button(nbPrior)->Hint(), QStringLiteral("Prior record"));
    EXPECT_EQ(navigator->Button(nbNext)->Hint(), QStringLiteral("Onwards"));
    EXPECT_EQ(navigator->Button(nbPost)->Hint(), QStringLiteral("Post edit"));
    navigator->SetShowHint(true);
    EXPECT_TRUE(navigator->Button(nbNext)->ShowHint());
}

}  // namespace
}  // namespace tk

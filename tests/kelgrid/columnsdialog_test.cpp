// The columns dialog on a real grid: the list it shows, ticking, moving by
// keys and by dragging, OK / Cancel / Apply, immediate updates, and what
// the grid keeps afterwards.

#include "kelgrid/controls/keldblists.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/settings.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/stdctrls.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

// A grid with the user's own columns Id, Owner, Amount, Paid on the fees
// and a dialog on it.
class ColumnsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillFees(dataSet);
        source.SetDataSet(&dataSet);
        grid = MakeGrid();
        dialog.SetDBGrid(grid.get());
    }

    std::unique_ptr<TKelDBGrid> MakeGrid()
    {
        auto made = std::make_unique<TKelDBGrid>();
        made->setObjectName(QStringLiteral("FeesGrid"));
        made->resize(400, 200);
        for (const char* name : {"Id", "Owner", "Amount", "Paid"})
            made->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
        made->SetDataSource(&source);
        return made;
    }

    // Runs the dialog; inside acts on the open form. A form still open
    // after inside is cancelled, so every test ends.
    bool Run(const std::function<void(TKelDBColumnsForm&)>& inside)
    {
        bool ran = false;
        QTimer::singleShot(0, &dialog, [&] {
            TKelDBColumnsForm* form = dialog.Form();
            ASSERT_NE(form, nullptr);
            ran = true;
            inside(*form);
            if (dialog.Form() && form->isVisible())
                form->SetModalResult(tk::mrCancel);
        });
        const bool ok = dialog.Execute();
        EXPECT_TRUE(ran);
        return ok;
    }

    static QStringList Items(const TKelDBColumnsForm& form)
    {
        QStringList items;
        for (int i = 0; i < form.ColumnsList()->Items()->Count(); ++i)
            items << form.ColumnsList()->Items()->Strings(i);
        return items;
    }

    // "Field" per column in order, "-Field" for a hidden one.
    static QString Layout(const TKelCustomDBGrid& grid)
    {
        QStringList parts;
        for (int i = 0; i < grid.Columns()->Count(); ++i) {
            const TKelColumn* column = grid.Columns()->Items(i);
            const QString name = column->FieldName().isEmpty() ? QStringLiteral("G") : column->FieldName();
            parts << (column->Visibility() ? name : QLatin1Char('-') + name);
        }
        return parts.join(QLatin1Char(' '));
    }

    static void ShiftKey(TKelDBColumnsForm& form, int row, int key)
    {
        form.ColumnsList()->SetItemIndex(row);
        form.ColumnsList()->setFocus();
        tk::test::WidgetDriver(form.ColumnsList()).Press(key, Qt::ShiftModifier);
    }

    // Drags item from onto item to with the mouse.
    static void Drag(TKelDBColumnsForm& form, int from, int to)
    {
        TKelColumnsListBox* list = form.ColumnsList();
        tk::test::WidgetDriver driver(list->viewport());
        const QPoint start = list->ItemRect(from).center();
        const QPoint end = list->ItemRect(to).center();
        driver.MouseDown(start);
        driver.MouseMove(start + QPoint(0, end.y() > start.y() ? 8 : -8));
        driver.MouseMove(end);
        driver.MouseUp(end);
    }

    // Puts the multi-level title G over Owner and Amount: Id G Owner Amount Paid.
    void AddGroupOverOwnerAndAmount()
    {
        TKelColumn* group = grid->Columns()->Add();
        group->SetIndex(1);
        group->SetExpandCols(2);
        group->Title()->SetCaption(QStringLiteral("Money"));
        ASSERT_EQ(grid->Columns()->Items(2)->ParentColumn(), group);
        ASSERT_EQ(grid->Columns()->Items(4)->ParentColumn(), nullptr);
    }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
    TKelDBColumnsDialog dialog;
};

TEST_F(ColumnsDialogTest, TheListShowsTheColumnsAfterTheFixedOnesWithTheirVisibility)
{
    grid->SetFixedCols(1);
    grid->Columns()->Items(3)->SetVisible(false);
    grid->Columns()->Items(2)->Title()->SetCaption(QStringLiteral("Amount\ndue"));
    grid->Columns()->Items(2)->SetDialogOptions(doShowColumn);
    Run([](TKelDBColumnsForm& form) {
        EXPECT_EQ(Items(form), QStringList({QStringLiteral("Owner"), QStringLiteral("Amount\u00A0due"),
                                            QStringLiteral("Paid")}));
        const tk::TCheckListBox* list = form.ColumnsList();
        EXPECT_TRUE(list->Checked(0));
        EXPECT_FALSE(list->Checked(2));
        EXPECT_FALSE(list->ItemEnabled(1));
        EXPECT_TRUE(list->ItemEnabled(2));
        EXPECT_EQ(list->ItemIndex(), 0);
        EXPECT_EQ(form.Caption(), QStringLiteral("Show Columns"));
        EXPECT_TRUE(form.CancelButton()->isVisible());
        EXPECT_FALSE(form.ApplyButton()->isVisible());
        EXPECT_TRUE(form.HelpButton()->isVisible());
    });

    dialog.SetOptions(dialog.Options() | coShowFixedCols | coShowHeaders);
    grid->Columns()->Items(1)->Title()->SetHeader(QStringLiteral("People"));
    AddGroupOverOwnerAndAmount();  // Id G Owner Amount Paid
    Run([](TKelDBColumnsForm& form) {
        EXPECT_EQ(Items(form),
                  QStringList({QStringLiteral("Id"), QStringLiteral("Money"),
                               QStringLiteral("\u00BB   People \u00BB Owner"),
                               QStringLiteral("\u00BB   Amount\u00A0due"), QStringLiteral("Paid")}));
    });
}

TEST_F(ColumnsDialogTest, OkAppliesTheTicksAndCancelChangesNothing)
{
    const auto untickOwner = [](TKelDBColumnsForm& form) {
        form.ColumnsList()->SetItemIndex(1);
        form.ColumnsList()->setFocus();
        tk::test::WidgetDriver(form.ColumnsList()).Press(Qt::Key_Space);
        ASSERT_FALSE(form.ColumnsList()->Checked(1));
    };
    EXPECT_FALSE(Run([&](TKelDBColumnsForm& form) {
        untickOwner(form);
        form.CancelButton()->Click();
    }));
    EXPECT_EQ(Layout(*grid), QStringLiteral("Id Owner Amount Paid"));

    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        untickOwner(form);
        EXPECT_EQ(Layout(*grid), QStringLiteral("Id Owner Amount Paid"));
        form.OkButton()->Click();
    }));
    EXPECT_EQ(Layout(*grid), QStringLiteral("Id -Owner Amount Paid"));
}

TEST_F(ColumnsDialogTest, ApplyAppliesWhileTheFormStaysOpen)
{
    dialog.SetOptions(dialog.Options() | coApplyButton);
    int applied = 0;
    dialog.OnApply = [&](QObject* sender) {
        EXPECT_EQ(sender, &dialog);
        ++applied;
    };
    QStringList events;
    dialog.OnCreate = [&](QObject*) { events << QStringLiteral("create"); };
    dialog.OnShow = [&](QObject*) { events << QStringLiteral("show"); };
    dialog.OnClose = [&](QObject*) { events << QStringLiteral("close"); };
    EXPECT_FALSE(Run([&](TKelDBColumnsForm& form) {
        form.ColumnsList()->SetChecked(0, false);
        form.ApplyButton()->Click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(Layout(*grid), QStringLiteral("-Id Owner Amount Paid"));
        form.CancelButton()->Click();
    }));
    EXPECT_EQ(applied, 1);
    // Cancel after Apply keeps what was applied.
    EXPECT_EQ(Layout(*grid), QStringLiteral("-Id Owner Amount Paid"));
    EXPECT_EQ(events,
              QStringList({QStringLiteral("create"), QStringLiteral("show"), QStringLiteral("close")}));
}

TEST_F(ColumnsDialogTest, AutoUpdateHasNoCancelOrApplyAndAppliesAtOnce)
{
    dialog.SetOptions(dialog.Options() | coAutoUpdate | coApplyButton | coAllowMoving);
    EXPECT_FALSE(dialog.Options() & coCancelButton);
    EXPECT_FALSE(dialog.Options() & coApplyButton);
    int applied = 0;
    dialog.OnApply = [&](QObject*) { ++applied; };
    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        EXPECT_FALSE(form.CancelButton()->isVisible());
        EXPECT_FALSE(form.ApplyButton()->isVisible());
        EXPECT_TRUE(form.OkButton()->isVisible());
        form.ColumnsList()->SetItemIndex(2);
        form.ColumnsList()->setFocus();
        tk::test::WidgetDriver(form.ColumnsList()).Press(Qt::Key_Space);
        EXPECT_EQ(Layout(*grid), QStringLiteral("Id Owner -Amount Paid"));
        ShiftKey(form, 3, Qt::Key_Up);
        EXPECT_EQ(Layout(*grid), QStringLiteral("Id Owner Paid -Amount"));
        // Escape closes through OK, which also cancels here: still OK.
        tk::test::WidgetDriver(form.ColumnsList()).Press(Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    }));
    EXPECT_EQ(applied, 2);
    EXPECT_EQ(Layout(*grid), QStringLiteral("Id Owner Paid -Amount"));
}

TEST_F(ColumnsDialogTest, ShiftArrowsMoveAmongSiblingsAndNeverPastFixedColumns)
{
    dialog.SetOptions(dialog.Options() | coAllowMoving | coShowFixedCols);
    grid->SetFixedCols(1);
    AddGroupOverOwnerAndAmount();  // Id | G Owner Amount Paid
    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        ShiftKey(form, 2, Qt::Key_Down);  // Owner below Amount, inside G
        EXPECT_EQ(form.ColumnsList()->ItemIndex(), 3);
        ShiftKey(form, 3, Qt::Key_Down);  // the last child stays
        ShiftKey(form, 2, Qt::Key_Up);    // the first child stays
        ShiftKey(form, 4, Qt::Key_Up);    // Paid goes before G and its children
        EXPECT_EQ(form.ColumnsList()->ItemIndex(), 1);
        ShiftKey(form, 1, Qt::Key_Up);    // not past the fixed Id
        ShiftKey(form, 0, Qt::Key_Down);  // the fixed Id stays
        EXPECT_EQ(Items(form),
                  QStringList({QStringLiteral("Id"), QStringLiteral("Paid"), QStringLiteral("Money"),
                               QStringLiteral("\u00BB   Amount"), QStringLiteral("\u00BB   Owner")}));
        // Nothing reaches the grid before OK.
        EXPECT_EQ(Layout(*grid), QStringLiteral("Id G Owner Amount Paid"));
        form.OkButton()->Click();
    }));
    EXPECT_EQ(Layout(*grid), QStringLiteral("Id Paid G Amount Owner"));
    EXPECT_EQ(grid->Columns()->Items(4)->ParentColumn(), grid->Columns()->Items(2));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ColumnsDialogTest, DraggingMovesABlockAndOnlyOntoASibling)
{
    dialog.SetOptions(dialog.Options() | coAllowMoving);
    AddGroupOverOwnerAndAmount();  // Id G Owner Amount Paid
    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        Drag(form, 2, 4);  // Owner onto Paid: another parent, refused
        EXPECT_EQ(Items(form)[2], QStringLiteral("\u00BB   Owner"));
        Drag(form, 0, 1);  // Id onto G: past G's whole block
        EXPECT_EQ(Items(form), QStringList({QStringLiteral("Money"), QStringLiteral("\u00BB   Owner"),
                                            QStringLiteral("\u00BB   Amount"), QStringLiteral("Id"),
                                            QStringLiteral("Paid")}));
        EXPECT_EQ(form.ColumnsList()->ItemIndex(), 3);
        Drag(form, 4, 0);  // Paid onto G: before it
        Drag(form, 3, 2);  // Amount onto Owner inside G
        form.OkButton()->Click();
    }));
    EXPECT_EQ(Layout(*grid), QStringLiteral("Paid G Amount Owner Id"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ColumnsDialogTest, WithoutMovingNeitherKeysNorDragsMoveAnything)
{
    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        ShiftKey(form, 0, Qt::Key_Down);
        Drag(form, 0, 2);
        EXPECT_EQ(Items(form)[0], QStringLiteral("Id"));
        form.OkButton()->Click();
    }));
    EXPECT_EQ(Layout(*grid), QStringLiteral("Id Owner Amount Paid"));
}

TEST_F(ColumnsDialogTest, TheAppliedLayoutSurvivesTheGridsSettings)
{
    tk::test::TempFolder folder;
    grid->Settings()->SetIniFile(true);
    grid->Settings()->SetFileName(folder.File(QStringLiteral("layouts.ini")));
    dialog.SetOptions(dialog.Options() | coAllowMoving);
    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        ShiftKey(form, 0, Qt::Key_Down);
        form.ColumnsList()->SetChecked(2, false);
        form.OkButton()->Click();
    }));
    ASSERT_EQ(Layout(*grid), QStringLiteral("Owner Id -Amount Paid"));
    grid->Settings()->SaveLayout();

    auto restored = MakeGrid();
    restored->Settings()->Assign(grid->Settings());
    ASSERT_EQ(Layout(*restored), QStringLiteral("Id Owner Amount Paid"));
    restored->Settings()->LoadLayout();
    EXPECT_EQ(Layout(*restored), QStringLiteral("Owner Id -Amount Paid"));
}

TEST_F(ColumnsDialogTest, HidingTheSelectedColumnSelectsTheFirstShowingAfterTheFixedOnes)
{
    grid->show();
    grid->SetFixedCols(1);
    grid->Columns()->Items(1)->SetVisible(false);
    grid->SetSelectedColumn(grid->Columns()->Items(3));
    EXPECT_TRUE(Run([](TKelDBColumnsForm& form) {
        form.ColumnsList()->SetChecked(2, false);  // Paid
        form.OkButton()->Click();
    }));
    EXPECT_EQ(grid->SelectedColumn(), grid->Columns()->Items(2));

    // A selected column that stays showing is kept.
    EXPECT_TRUE(Run([](TKelDBColumnsForm& form) {
        form.ColumnsList()->SetChecked(2, true);
        form.OkButton()->Click();
    }));
    EXPECT_EQ(grid->SelectedColumn(), grid->Columns()->Items(2));
}

TEST_F(ColumnsDialogTest, ColumnsThatChangedWhileTheFormWasOpenAreFoundAgainOrSkipped)
{
    dialog.SetOptions(dialog.Options() | coAllowMoving);
    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        ShiftKey(form, 3, Qt::Key_Up);  // Id Owner Paid Amount
        form.ColumnsList()->SetChecked(1, false);
        // Meanwhile the program drops Id and puts Amount first.
        grid->Columns()->Delete(0);
        grid->Columns()->Items(1)->SetIndex(0);  // Amount Owner Paid
        form.OkButton()->Click();
    }));
    EXPECT_EQ(Layout(*grid), QStringLiteral("-Owner Paid Amount"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ColumnsDialogTest, TheDatasetsOwnColumnsGoneWithItsClosingAreSkipped)
{
    // Columns made from the fields vanish when the dataset closes.
    grid->Columns()->SetState(csDefault);
    ASSERT_EQ(grid->Columns()->Count(), 4);
    dialog.SetOptions(dialog.Options() | coAllowMoving);
    EXPECT_TRUE(Run([&](TKelDBColumnsForm& form) {
        ShiftKey(form, 0, Qt::Key_Down);
        form.ColumnsList()->SetChecked(0, false);
        dataSet.Close();
        FillFees(dataSet);
        ASSERT_EQ(grid->Columns()->Count(), 4);
        form.OkButton()->Click();
    }));
    EXPECT_EQ(Layout(*grid), QStringLiteral("Id Owner Amount Paid"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ColumnsDialogTest, WithoutAGridTheListIsEmptyAndOkChangesNothing)
{
    dialog.SetDBGrid(nullptr);
    EXPECT_TRUE(Run([](TKelDBColumnsForm& form) {
        EXPECT_EQ(form.ColumnsList()->Items()->Count(), 0);
        form.OkButton()->Click();
    }));
}

TEST_F(ColumnsDialogTest, TheDialogLetsGoOfADestroyedGrid)
{
    ASSERT_EQ(dialog.DBGrid(), grid.get());
    grid.reset();
    EXPECT_EQ(dialog.DBGrid(), nullptr);
}

TEST_F(ColumnsDialogTest, TheEditorIsLeftForTheDialogAndComesBack)
{
    grid->show();
    grid->setFocus();
    grid->SetSelectedColumn(grid->Columns()->Items(1));
    QApplication::processEvents();
    tk::test::WidgetDriver(grid.get()).Press(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    Run([&](TKelDBColumnsForm&) { EXPECT_FALSE(grid->EditorMode()); });
    // The focus returns to the grid's window from the event loop.
    for (int i = 0; i < 5 && !grid->EditorMode(); ++i)
        QApplication::processEvents();
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(ColumnsDialogTest, HelpShowsTheDialogsHelpContextWhenItHasOne)
{
    QList<int> shown;
    tk::Application().OnHelp = [&](int context) {
        shown << context;
        return true;
    };
    const auto restore = qScopeGuard([] { tk::Application().OnHelp = nullptr; });
    Run([](TKelDBColumnsForm& form) { form.HelpButton()->Click(); });
    dialog.SetHelpContext(712);
    Run([](TKelDBColumnsForm& form) {
        form.HelpButton()->Click();
        EXPECT_TRUE(form.isVisible());
    });
    EXPECT_EQ(shown, QList<int>({712}));
}

TEST(ColumnsDialogProperties, CountsWidthsAndTextsKeepTheirRules)
{
    TKelDBColumnsDialog dialog;
    EXPECT_EQ(dialog.DefaultCount(), 20);
    EXPECT_EQ(dialog.MinimumCount(), 4);
    dialog.SetMinimumCount(2);
    EXPECT_EQ(dialog.MinimumCount(), 4);
    dialog.SetDefaultCount(3);
    EXPECT_EQ(dialog.DefaultCount(), 4);
    dialog.SetMinimumCount(9);
    EXPECT_EQ(dialog.MinimumCount(), 4);  // not above DefaultCount
    dialog.SetDefaultCount(10);
    dialog.SetMinimumCount(9);
    EXPECT_EQ(dialog.MinimumCount(), 9);

    dialog.SetMinimumWidth(-5);
    EXPECT_EQ(dialog.MinimumWidth(), 0);
    dialog.SetMinimumWidth(300);
    dialog.SetDefaultWidth(200);
    EXPECT_EQ(dialog.DefaultWidth(), 300);
    dialog.SetMinimumWidth(400);
    EXPECT_EQ(dialog.MinimumWidth(), 300);
    dialog.SetDefaultWidth(0);
    EXPECT_EQ(dialog.DefaultWidth(), 0);

    dialog.SetButtonsTitles(QStringLiteral("Sí;No;A&plicar;A&yuda"));
    EXPECT_TRUE(dialog.IsButtonsTitlesStored());
    dialog.SetButtonsTitles(QString());
    EXPECT_EQ(dialog.ButtonsTitles(), QStringLiteral("OK;Cancel;&Apply;&Help"));
    EXPECT_FALSE(dialog.IsButtonsTitlesStored());
    dialog.SetTitle(QString());
    EXPECT_EQ(dialog.Title(), QStringLiteral("Show Columns"));
    dialog.SetColumnsTitle(QString());
    EXPECT_EQ(dialog.ColumnsTitle(), QStringLiteral(" &Visible Columns "));

    EXPECT_EQ(dialog.Options(),
              TKelDBColumnsOptions(coCancelButton | coHelpButton | coMarkVisibleCols | coShowEmptyCols));
    dialog.SetOptions(coAllowMoving);
    EXPECT_EQ(dialog.Options(), TKelDBColumnsOptions(coAllowMoving | coShowEmptyCols));
}

TEST_F(ColumnsDialogTest, TheFormTakesTheCaptionsCountsAndButtonsFromTheDialog)
{
    AppendFees(dataSet, 6, 40);
    dialog.SetButtonsTitles(QStringLiteral("Sí;;A&plicar"));
    dialog.SetTitle(QStringLiteral("Columnas"));
    dialog.SetOptions(coMarkVisibleCols | coApplyButton);
    dialog.SetMinimumWidth(500);
    dialog.SetDefaultWidth(520);
    Run([](TKelDBColumnsForm& form) {
        EXPECT_EQ(form.Caption(), QStringLiteral("Columnas"));
        EXPECT_EQ(form.OkButton()->Caption(), QStringLiteral("Sí"));
        EXPECT_EQ(form.CancelButton()->Caption(), QStringLiteral("Cancel"));
        EXPECT_EQ(form.ApplyButton()->Caption(), QStringLiteral("A&plicar"));
        EXPECT_FALSE(form.CancelButton()->isVisible());
        EXPECT_FALSE(form.HelpButton()->isVisible());
        EXPECT_TRUE(form.OkButton()->Cancel());
        EXPECT_LT(form.OkButton()->mapTo(&form, QPoint()).x(),
                  form.ApplyButton()->mapTo(&form, QPoint()).x());
        EXPECT_EQ(form.width(), 520);
        EXPECT_EQ(form.CustomPanel()->isVisible(), false);
        // Four columns, at least four rows: the list shows all and can't grow.
        const TKelColumnsListBox* list = form.ColumnsList();
        EXPECT_EQ(list->height(), 4 * list->ItemHeight() + 2 * list->frameWidth());
        EXPECT_EQ(form.Constraints()->MaxHeight(), form.height());
        EXPECT_EQ(form.Constraints()->MinWidth(), 500);
    });
}

}  // namespace
}  // namespace kelgrid::test

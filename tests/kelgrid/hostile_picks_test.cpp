// Pick lists with odd entries: empty, huge, duplicated and control-character
// entries, PickList and PickText of different lengths, hostile pick text
// formats and numbers at the ends of their range, under every option. The
// mapping never fails, layouts keep every entry exactly, and a user choosing
// from the drop-down writes a value the field can hold.

#include "kelgrid/editors/popuppicklist.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/application.h"
#include "toolkit/core/strings.h"

#include "tests/kelgrid/editing_fixture.h"
#include "tests/support/manual_timer_driver.h"

#include <QBuffer>
#include <random>

namespace kelgrid::test {
namespace {

const QStringList kOddEntries = {
    QString(), QStringLiteral(" "), QStringLiteral("Alpha"), QStringLiteral("alpha"), QStringLiteral("Alpha"),
    QString(100000, QLatin1Char('x')), QStringLiteral("tab\there"), QStringLiteral("line\nbreak\r\n"),
    QString(QChar(0)) + QStringLiteral("nul"), QStringLiteral("'quoted'"), QStringLiteral("#13"),
    QStringLiteral("ñandú 漢字 🙂"), QStringLiteral("1"), QStringLiteral("-2147483648"),
    QStringLiteral("2147483647"), QStringLiteral("99999999999"), QStringLiteral("%s%d%*d")};

const QStringList kFormats = {QString(), QStringLiteral("%0:s - %1:s"), QStringLiteral("%2:d) %0:s"),
                              QStringLiteral("%s%s%s%s%s"), QStringLiteral("%99:s"), QStringLiteral("%*d"),
                              QStringLiteral("%2147483647d"), QStringLiteral("%-100000s|"), QStringLiteral("%"),
                              QStringLiteral("%.2147483648f")};

const TKelPickOptions kAllPickOptions(poListItemsOnly | poSelectPickText | poStoreItemIndex | poAcceptPickList |
                                      poAcceptItemIndex | poFormatPickText | poFormatListOnly);

// Random odd pick data, options and format for a column.
struct PickSetup {
    QStringList values;
    QStringList texts;
    TKelPickOptions options;
    QString format;
};

PickSetup RandomPickSetup(std::mt19937& random)
{
    auto below = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto entries = [&] {
        QStringList list;
        const int count = below(6);
        for (int i = 0; i < count; ++i)
            list << kOddEntries.at(below(int(kOddEntries.size())));
        return list;
    };
    PickSetup setup{entries(), entries(), TKelPickOptions(), kFormats.at(below(int(kFormats.size())))};
    setup.options = TKelPickOptions::fromInt(int(std::uniform_int_distribution<unsigned>(0, 0xFFFF)(random))) &
                    kAllPickOptions;
    return setup;
}

void Apply(TKelColumn& column, const PickSetup& setup)
{
    column.PickList()->SetStrings(setup.values);
    column.PickText()->SetStrings(setup.texts);
    column.SetPickOptions(setup.options);
    column.SetPickTextFormat(setup.format);
}

class HostilePicksTest : public EditingFixture {
protected:
    void SetUp() override
    {
        EditingFixture::SetUp();
        tk::Application().OnException = [this](const QString& message) { reported << message; };
    }
    void TearDown() override
    {
        tk::Application().OnException = nullptr;
        EditingFixture::TearDown();
    }
    QByteArray SavedColumns() const
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        grid->Columns()->SaveToStream(buffer);
        return buffer.data();
    }

    // Made before the grid, so the editor's animation runs on it.
    tk::test::ManualTimerDriver timers;
    QStringList reported;
};

TEST_F(HostilePicksTest, OddPickDataMapsBothWaysWithoutFailing)
{
    TKelColumn* status = Column("Status");
    std::mt19937 random(2161);
    for (int i = 0; i < 400; ++i) {
        const PickSetup setup = RandomPickSetup(random);
        SCOPED_TRACE(QStringLiteral("seed 2161, iteration %1: %2 values, %3 texts, options %4, format '%5'")
                         .arg(i)
                         .arg(setup.values.size())
                         .arg(setup.texts.size())
                         .arg(int(setup.options))
                         .arg(setup.format)
                         .toStdString());
        Apply(*status, setup);
        const tk::TStrings* offered = status->PickDataList();
        ASSERT_NE(offered, nullptr);
        ASSERT_EQ(offered->Count(), status->PickTextActive() ? setup.texts.size() : setup.values.size());
        // Every entry, every odd text and the positions around the lists
        // map to some text and back without raising.
        QStringList probes = kOddEntries;
        for (int k = 0; k < offered->Count(); ++k)
            probes << offered->Strings(k);
        for (int position : {-1, 0, int(setup.texts.size()), int(setup.texts.size()) + 1})
            probes << QString::number(position);
        for (const QString& probe : probes) {
            (void)grid->ColGetText(status, probe, tkDisplay);
            (void)grid->ColSetText(status, probe);
        }
        for (int k = -1; k <= setup.texts.size() + 1; ++k)
            (void)status->FormatPickText(k);
    }
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(HostilePicksTest, LayoutsKeepOddPickEntriesExactly)
{
    TKelColumn* status = Column("Status");
    std::mt19937 random(2163);
    for (int i = 0; i < 60; ++i) {
        const PickSetup setup = RandomPickSetup(random);
        SCOPED_TRACE(QStringLiteral("seed 2163, iteration %1").arg(i).toStdString());
        Apply(*status, setup);
        const QByteArray saved = SavedColumns();
        status->PickList()->Clear();
        status->PickText()->Clear();
        QBuffer buffer;
        buffer.setData(saved);
        buffer.open(QIODevice::ReadOnly);
        grid->Columns()->LoadFromStream(buffer);
        status = Column("Status");
        ASSERT_NE(status, nullptr);
        ASSERT_EQ(status->PickList()->ToStringList(), setup.values);
        ASSERT_EQ(status->PickText()->ToStringList(), setup.texts);
        ASSERT_EQ(status->PickTextFormat(), setup.format);
    }
}

TEST_F(HostilePicksTest, ChoosingFromOddPickListsWritesWhatTheFieldHolds)
{
    TKelColumn* status = Column("Status");
    const int size = receipts.FieldByName(QStringLiteral("Status"))->Size();
    std::mt19937 random(2165);
    for (int i = 0; i < 40; ++i) {
        PickSetup setup = RandomPickSetup(random);
        setup.options &= ~TKelPickOptions(poDropDownList);
        SCOPED_TRACE(QStringLiteral("seed 2165, iteration %1: options %2").arg(i).arg(int(setup.options)).toStdString());
        Apply(*status, setup);
        GoTo("Status");
        driver->Press(Qt::Key_F2);
        ASSERT_TRUE(grid->EditorMode());
        driver->Press(Qt::Key_Down, Qt::AltModifier);
        timers.Advance(60 * ListDropDownDelay);
        const int steps = std::uniform_int_distribution<int>(0, 6)(random);
        for (int k = 0; k < steps; ++k)
            driver->Press(Qt::Key_Down);
        driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
        driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));  // posts the record
        if (grid->EditorMode())
            driver->Press(Qt::Key_Escape);
        Settle();
        (void)grid->viewport()->grab();
        ASSERT_LE(Field("Status").size(), size);
        ASSERT_EQ(grid->CheckConsistency(), QString());
        receipts.Cancel();
    }
    EXPECT_EQ(reported, QStringList()) << "failures reached the event loop";
}

}  // namespace
}  // namespace kelgrid::test
